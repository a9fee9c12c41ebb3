// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>

#include "channel/CellText.h"
#include "channel/ChannelConstants.h"
#include "files/BinFile.h"
#include "files/ChannelSetFile.h"
#include "files/EpromFormats.h"
#include "files/FileFailureText.h"
#include "platform/FileRead.h"
#include "platform/FileReplace.h"
#include "platform/RuntimeFailure.h"
#include "tools/CalculationOptions.h"
#include "tools/ExitCode.h"
#include "tools/FrequencyPlan.h"
#include "tools/FrequencyText.h"
#include "tools/ImageFormatOption.h"
#include "tools/InputFile.h"
#include "tools/ToolCommand.h"
#include "tools/ToolError.h"

namespace vx40::tool {
namespace {

struct PlanArguments {
    CalculationOptions calculation;
    std::string planPath;
    std::string binPath;
    std::string vx4Path;  // empty: no channel-set file
    ImageFormat format = ImageFormat::Bin;
};

// What a target held before the tool replaced it, so that a later failure can put it back.
struct PreviousContent {
    bool existed = false;
    std::string bytes;
};

PreviousContent ReadPreviousContent(const std::string& path) {
    FilePrefix previous =
        ReadFilePrefix(path, std::numeric_limits<std::size_t>::max(), ReadableFiles::RegularOnly);
    if (previous.result.Ok()) {
        return {true, std::move(previous.bytes)};
    }
    const int error = previous.result.error;
    // A missing file needs no restoring; a folder or a device is refused by the replace itself.
    if (error == ENOENT || error == EISDIR || error == EINVAL) {
        return {};
    }
    throw ToolError(FileWriteFailureMessage(path, {FileReplaceFailure::Other, error}), false);
}

// Puts the target back as it was; returns false when that failed too.
bool Restore(const std::string& path, const PreviousContent& previous) {
    if (previous.existed) {
        return ReplaceFile(path, previous.bytes, SyncToDisk::Yes).Ok();
    }
    std::error_code error;
    const auto written = std::filesystem::canonical(path, error);
    return !error && std::filesystem::remove(written, error);
}

// Either both files are written, or neither is changed: the channel-set file goes first, since
// putting it back needs only its text, and it is put back when the bin image fails.
void WritePlanFiles(const ChannelTable& table, const PlanArguments& arguments) {
    if (arguments.vx4Path.empty()) {
        if (const BinWriteResult bin = WriteImageFile(table, arguments.binPath, arguments.format);
            !bin.Written()) {
            throw ToolError(bin.message, false);
        }
        return;
    }
    // The text is made in memory; the target itself is only ever replaced whole.
    const std::optional<std::string> text = ChannelSetText(table);
    if (!text) {
        throw IniWriteFailure(arguments.vx4Path);
    }
    const PreviousContent previous = ReadPreviousContent(arguments.vx4Path);
    if (const FileReplaceResult vx4 = ReplaceFile(arguments.vx4Path, *text, SyncToDisk::Yes);
        !vx4.Ok()) {
        throw ToolError(FileWriteFailureMessage(arguments.vx4Path, vx4), false);
    }
    if (const BinWriteResult bin = WriteImageFile(table, arguments.binPath, arguments.format);
        !bin.Written()) {
        std::string message = bin.message;
        if (!Restore(arguments.vx4Path, previous)) {
            message += " " + FileSentence(arguments.vx4Path,
                                          "wurde schon geschrieben und konnte nicht "
                                          "wiederhergestellt werden.");
        }
        throw ToolError(message, false);
    }
}

int RunPlan(const PlanArguments& arguments, std::ostream& /*out*/, std::ostream& err) {
    CheckDistinctFiles(
        {{"PLAN", arguments.planPath}, {"-o", arguments.binPath}, {"--vx4", arguments.vx4Path}});
    const std::string text = ReadInputText(arguments.planPath);
    // A failure of the settings ends the command before any line is looked at.
    CalculateRatio(arguments.calculation.ForFrequency(0));

    ChannelTable table;
    SelectionCodes kept;
    OffendingLines offending;
    int row = 0;
    for (const PlanLine& line : ParsePlanText(text)) {
        if (auto problem = PlanLineProblem(line, ++row)) {
            offending.Add(std::move(*problem));
            continue;
        }
        const std::int32_t khz = *line.frequencyKhz;
        const CalculationResult result =
            CalculateDividerWord(arguments.calculation.ForFrequency(khz), kept);
        table.SetCell(kFrequencyColumn, row, DecimalText(khz));
        ApplyCalculation(table, row, result, [&] {
            offending.Add(PlanLinePrefix(line) +
                          RefusalText(khz, NearestAchievableFrequencies(result.ratio, khz)));
        });
    }
    if (!offending.Empty()) {
        offending.Print(err);
        return kExitRefused;
    }
    WritePlanFiles(table, arguments);
    return kExitSuccess;
}

}  // namespace

ToolCommand PlanCommand() {
    return {"plan",
            "einen Kanalplan (eine Frequenz in kHz je Zeile) berechnen und als Bin-Datei schreiben",
            "[OPTIONEN] PLAN -o OUT.bin [--vx4 OUT.vx4] [--format FORMAT]",
            [](CLI::App& command) -> CommandRun {
                auto arguments = std::make_shared<PlanArguments>();
                AddCalculationOptions(command, arguments->calculation);
                command
                    .add_option("PLAN", arguments->planPath,
                                "Textdatei mit bis zu 16 Frequenzen in kHz")
                    ->required()
                    ->type_name("");
                command.add_option("-o", arguments->binPath, "die Bin-Datei, die geschrieben wird")
                    ->required()
                    ->type_name("OUT.bin");
                command.add_option("--vx4", arguments->vx4Path, "auch diese Kanaldatei schreiben")
                    ->type_name("OUT.vx4");
                AddImageFormatOption(command, arguments->format, arguments->binPath);
                return [arguments](std::ostream& out, std::ostream& err) {
                    return RunPlan(*arguments, out, err);
                };
            }};
}

}  // namespace vx40::tool
