// SPDX-License-Identifier: GPL-3.0-or-later
#include <optional>

#include <CLI/App.hpp>

#include "base/RuntimeFailure.h"
#include "channel/ChannelConstants.h"
#include "files/ChannelSetFile.h"
#include "files/ChipImage.h"
#include "files/FileFailureText.h"
#include "files/ImageFormats.h"
#include "os/FileReplace.h"
#include "tools/CalculationOptions.h"
#include "tools/ChipOptions.h"
#include "tools/ExitCode.h"
#include "tools/FrequencyPlan.h"
#include "tools/ImageFormatOption.h"
#include "tools/ImageOutput.h"
#include "tools/InputFile.h"
#include "tools/ToolCommand.h"
#include "tools/ToolFailure.h"

namespace vx40::tool {
namespace {

struct PlanArguments {
    CalculationOptions calculation;
    std::string planPath;
    std::string binPath;
    std::string vx4Path;  // empty: no channel-set file
    ImageFormat format = ImageFormat::Bin;
    ChipLayout layout;
};

// The text of the channel-set file; a cell that would break a line fails as the window's save.
std::string TableText(const ChannelTable& table, const std::string& path) {
    Result<std::string> text = ChannelSetText(table);
    if (!text.Ok()) {
        throw IniWriteFailure(path);
    }
    return std::move(text).Value();
}

// The image and the table are written as a pair: both new files are made complete and flushed
// beside their targets first, so that every refusal and every failed write leaves both targets
// untouched; only then are they renamed into place, the table first, directly one after the
// other. A new image thus always comes with its new table.
Status WritePlanPair(const ChannelTable& table, const PlanArguments& arguments, std::ostream& err) {
    const std::string text = TableText(table, arguments.vx4Path);
    const Result<std::vector<std::uint8_t>> chip = ChipBytesOfTable(table, arguments.layout);
    if (!chip) {
        return chip.Error();
    }
    PreparedReplace vx4 = PrepareReplace(arguments.vx4Path, text, SyncToDisk::Yes);
    if (!vx4.Ok()) {
        return CommandFailure(FileWriteFailureMessage(arguments.vx4Path, vx4.Outcome()));
    }
    PreparedReplace bin =
        PrepareReplace(arguments.binPath, EncodedBytes(*chip, arguments.format), SyncToDisk::Yes);
    if (!bin.Ok()) {
        return CommandFailure(FileWriteFailureMessage(arguments.binPath, bin.Outcome()));
    }
    const ReplacePairResult committed = CommitReplacePair(vx4, bin);
    if (!committed.first.Ok()) {
        return CommandFailure(FileWriteFailureMessage(arguments.vx4Path, committed.first));
    }
    if (!committed.second.Ok()) {
        return CommandFailure(
            FileWriteFailureMessage(arguments.binPath, committed.second) + " " +
            FileSentence(arguments.vx4Path,
                         "wurde schon geschrieben; die Bin-Datei blieb, wie sie war."));
    }
    PrintChecksumLine(err, arguments.binPath, true, *chip);
    return {};
}

// The image alone, or the image on standard output and then the table: only once the image has
// arrived is the channel-set file written.
Status WriteImageThenTable(const ChannelTable& table, const PlanArguments& arguments,
                           std::ostream& out, std::ostream& err) {
    if (const Status bin = WriteImageOutput(table, arguments.binPath, arguments.format,
                                            arguments.layout, out, err);
        !bin) {
        return bin;
    }
    if (arguments.vx4Path.empty()) {
        return {};
    }
    const std::string text = TableText(table, arguments.vx4Path);
    if (const Status vx4 = ReplaceFile(arguments.vx4Path, text, SyncToDisk::Yes); !vx4.Ok()) {
        return CommandFailure(FileWriteFailureMessage(arguments.vx4Path, vx4));
    }
    return {};
}

// The plan's channels calculated into the table, row by row: only the 16 channels and the
// offending lines that are shown are kept. Channels the plan does not list stay empty rows.
Status CalculatePlanInput(const PlanArguments& arguments, ChannelTable& table,
                          OffendingLines& offending) {
    Status read;
    CalculatePlan(arguments.calculation.Inputs(), table, offending, [&](PlanReader& reader) {
        read = ReadInputChunks(arguments.planPath,
                               [&](std::string_view chunk) { reader.Feed(chunk); });
    });
    return read;
}

Result<int> RunPlan(const PlanArguments& arguments, std::ostream& out, std::ostream& err) {
    if (const Status fits = CheckChipLayoutCall(arguments.layout); !fits) {
        return fits.Error();
    }
    if (const Status distinct = CheckDistinctFiles({{"PLAN", arguments.planPath},
                                                    {"-o", arguments.binPath, true},
                                                    {"--vx4", arguments.vx4Path, true}});
        !distinct) {
        return distinct.Error();
    }
    ChannelTable table;
    OffendingLines offending;
    if (const Status calculated = CalculatePlanInput(arguments, table, offending); !calculated) {
        return calculated.Error();
    }
    if (!offending.Empty()) {
        err << offending.Text();
        return kExitRefused;
    }
    const Status written = arguments.vx4Path.empty() || IsStandardStream(arguments.binPath)
                               ? WriteImageThenTable(table, arguments, out, err)
                               : WritePlanPair(table, arguments, err);
    if (!written) {
        return written.Error();
    }
    return kExitSuccess;
}

void DeclarePlan(CLI::App& command, PlanArguments& arguments) {
    AddCalculationOptions(command, arguments.calculation);
    command
        .add_option("PLAN", arguments.planPath,
                    "bis zu 16 Frequenzen in kHz je Zeile oder eine Tabelle mit Spalte Frequenz "
                    "(-: Standardeingabe)")
        ->required()
        ->type_name("");
    command
        .add_option("-o", arguments.binPath,
                    "die Bin-Datei, die geschrieben wird (-: Standardausgabe)")
        ->required()
        ->type_name("OUT.bin");
    command.add_option("--vx4", arguments.vx4Path, "auch diese Kanaldatei schreiben")
        ->type_name("OUT.vx4");
    AddImageFormatOption(command, arguments.format, arguments.binPath);
    AddChipLayoutOptions(command, arguments.layout);
}

}  // namespace

ToolCommand PlanCommand() {
    return CommandOf("plan",
                     "einen Kanalplan (Frequenzen in kHz je Zeile oder Tabelle) berechnen und als "
                     "Bin-Datei schreiben",
                     "[OPTIONEN] PLAN -o OUT.bin [--vx4 OUT.vx4] [--format FORMAT]", DeclarePlan,
                     RunPlan);
}

}  // namespace vx40::tool
