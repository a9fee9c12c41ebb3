// SPDX-License-Identifier: GPL-3.0-or-later
#include <CLI/App.hpp>

#include "channel/DividerCalculation.h"
#include "tools/CalculationOptions.h"
#include "tools/ExitCode.h"
#include "tools/ImageInput.h"
#include "tools/InspectReport.h"
#include "tools/ToolCommand.h"

namespace vx40::tool {
namespace {

struct InspectArguments {
    std::int32_t crystalHz = kCrystalHz;
    bool csv = false;
    std::string inputPath;
};

Result<int> RunInspect(const InspectArguments& arguments, std::ostream& out,
                       std::ostream& /*err*/) {
    const Result<BinImage> read = ReadImageInput(arguments.inputPath);
    if (!read) {
        return read.Error();
    }
    out << InspectReportText(*read, arguments.crystalHz, arguments.csv);
    return kExitSuccess;
}

void DeclareInspect(CLI::App& command, InspectArguments& arguments) {
    AddCrystalOption(command, arguments.crystalHz);
    AddCsvFlag(command, arguments.csv);
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
        "[--crystal HZ] [--csv] IN", DeclareInspect, RunInspect);
}

}  // namespace vx40::tool
