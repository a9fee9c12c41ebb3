// SPDX-License-Identifier: GPL-3.0-or-later
#include <CLI/App.hpp>

#include "channel/DividerCalculation.h"
#include "tools/CalculationOptions.h"
#include "tools/ChipOptions.h"
#include "tools/ExitCode.h"
#include "tools/ImageInput.h"
#include "tools/InspectReport.h"
#include "tools/ToolApplication.h"
#include "tools/ToolCommand.h"

namespace vx40::tool {
namespace {

struct InspectArguments {
    std::int32_t crystalHz = kCrystalHz;
    bool csv = false;
    std::string inputPath;
    ChipReading chip;
};

// The checksums, and the bytes of a chip outside the 128 that are not the fill, follow the table;
// a CSV table stays a table alone, and they go to standard error.
Result<int> RunInspect(const InspectArguments& arguments, std::ostream& out, std::ostream& err) {
    const Result<ImageRead> read = ReadImageInput(arguments.inputPath, arguments.chip);
    if (!read) {
        return read.Error();
    }
    out << InspectReportText(read->image, arguments.crystalHz, arguments.csv);
    const std::size_t offset = arguments.chip.offset.value_or(0);
    if (arguments.csv) {
        PrintChecksumLine(err, arguments.inputPath, false, read->bytes);
        err << ChipRestLine(std::string(kToolName) + ": ", read->bytes, offset,
                            arguments.chip.fill);
    } else {
        out << ChecksumsLine(read->bytes) << '\n'
            << ChipRestLine("", read->bytes, offset, arguments.chip.fill);
    }
    return kExitSuccess;
}

void DeclareInspect(CLI::App& command, InspectArguments& arguments) {
    AddCrystalOption(command, arguments.crystalHz);
    AddCsvFlag(command, arguments.csv);
    AddChipReadingOptions(command, arguments.chip);
    command
        .add_option("IN", arguments.inputPath,
                    "das Abbild: Bin-Datei, Intel HEX oder S-Records (-: Standardeingabe)")
        ->required()
        ->type_name("");
}

}  // namespace

ToolCommand InspectCommand() {
    return CommandOf(
        "inspect",
        "ein Abbild lesen und zeigen, was es selbst sagt: Vorteiler, N und die wahre Frequenz",
        "[--crystal HZ] [--csv] [--offset BYTES [--fill BYTE]] IN", DeclareInspect, RunInspect);
}

}  // namespace vx40::tool
