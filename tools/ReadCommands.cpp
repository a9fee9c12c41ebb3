#include <memory>
#include <optional>

#include "channel/NFactorBackCalculation.h"
#include "files/BinFile.h"
#include "files/ChannelSetFile.h"
#include "platform/IniFileStore.h"
#include "tools/ExitCode.h"
#include "tools/ImageFormatOption.h"
#include "tools/ImageInput.h"
#include "tools/InputFile.h"
#include "tools/TableOutput.h"
#include "tools/ToolCommand.h"
#include "tools/ToolCommands.h"
#include "tools/ToolError.h"

namespace vx40::tool {
namespace {

void PrintChannels(std::ostream& out, const ChannelTable& table, bool csv) {
    std::vector<TextRow> rows;
    for (int r = 1; r < kRowCount; ++r) {
        rows.push_back(ChannelRow(table, r));
    }
    PrintTable(out, ChannelColumnHeader(true), rows, csv);
}

}  // namespace

int RunDecode(const ReadArguments& arguments, std::ostream& out, std::ostream& err) {
    const std::optional<BinImage> image = ReadImageInput(arguments.inputPath, err);
    if (!image) {
        return kExitRefused;
    }
    ChannelTable table;
    ApplyBinImage(table, *image);
    BackCalculateNFactors(table);
    PrintChannels(out, table, arguments.csv);
    return kExitSuccess;
}

int RunShow(const ReadArguments& arguments, std::ostream& out, std::ostream& /*err*/) {
    PrintChannels(out, LoadChannelSetInput(arguments.inputPath), arguments.csv);
    return kExitSuccess;
}

int RunEncode(const EncodeArguments& arguments, std::ostream& /*out*/, std::ostream& err) {
    CheckDistinctFiles({{"IN.vx4", arguments.inputPath}, {"-o", arguments.binPath}});
    const ChannelTable table = LoadChannelSetInput(arguments.inputPath);
    const BinWriteResult written = WriteImageFile(table, arguments.binPath, arguments.format);
    switch (written.outcome) {
        case BinWriteOutcome::Written:
            return kExitSuccess;
        case BinWriteOutcome::InvalidCell:
            err << written.message << '\n';
            return kExitRefused;
        case BinWriteOutcome::WriteFailed:
            break;
    }
    throw ToolError(written.message, false);
}

ToolCommand DecodeCommand() {
    return {"decode", "eine Bin-Datei lesen und N-Faktoren und Frequenzen zurückrechnen",
            "[--csv] IN.bin", [](CLI::App& command) -> CommandRun {
                auto arguments = std::make_shared<ReadArguments>();
                command.add_flag("--csv", arguments->csv, "durch Kommas getrennt ausgeben");
                command
                    .add_option("IN.bin", arguments->inputPath,
                                "die Bin-Datei, auch als Intel HEX oder S-Records")
                    ->required()
                    ->type_name("");
                return [arguments](std::ostream& out, std::ostream& err) {
                    return RunDecode(*arguments, out, err);
                };
            }};
}

ToolCommand ShowCommand() {
    return {"show", "die 16 Kanäle einer Kanaldatei zeigen", "[--csv] IN.vx4",
            [](CLI::App& command) -> CommandRun {
                auto arguments = std::make_shared<ReadArguments>();
                command.add_flag("--csv", arguments->csv, "durch Kommas getrennt ausgeben");
                command.add_option("IN.vx4", arguments->inputPath, "die Kanaldatei")
                    ->required()
                    ->type_name("");
                return [arguments](std::ostream& out, std::ostream& err) {
                    return RunShow(*arguments, out, err);
                };
            }};
}

ToolCommand EncodeCommand() {
    return {"encode", "eine Kanaldatei als Bin-Datei schreiben",
            "IN.vx4 -o OUT.bin [--format FORMAT]", [](CLI::App& command) -> CommandRun {
                auto arguments = std::make_shared<EncodeArguments>();
                command.add_option("IN.vx4", arguments->inputPath, "die Kanaldatei")
                    ->required()
                    ->type_name("");
                command.add_option("-o", arguments->binPath, "die Bin-Datei, die geschrieben wird")
                    ->required()
                    ->type_name("OUT.bin");
                AddImageFormatOption(command, arguments->format);
                return [arguments](std::ostream& out, std::ostream& err) {
                    return RunEncode(*arguments, out, err);
                };
            }};
}

}  // namespace vx40::tool
