// SPDX-License-Identifier: GPL-3.0-or-later

#include <CLI/App.hpp>

#include "channel/PrescalerRaster.h"
#include "tools/CalculationOptions.h"
#include "tools/ExitCode.h"
#include "tools/FrequencyPlan.h"
#include "tools/FrequencyText.h"
#include "tools/RasterReport.h"
#include "tools/ToolCommand.h"
#include "tools/ToolFailure.h"

namespace vx40::tool {
namespace {

struct RasterArguments {
    std::int32_t crystalHz = kCrystalHz;
    bool csv = false;
    std::vector<std::string> frequencies;
    std::string planPath;
};

Result<int> RunRaster(const RasterArguments& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.frequencies.empty() == arguments.planPath.empty()) {
        return CallRefusal("entweder Frequenzen oder --plan angeben");
    }
    std::vector<std::int32_t> frequencies;
    if (!arguments.planPath.empty()) {
        const Result<PlanFrequencies> plan = ReadPlanFrequencies(arguments.planPath);
        if (!plan) {
            return plan.Error();
        }
        if (!plan->offending.Empty()) {
            plan->offending.Print(err);
            return kExitRefused;
        }
        frequencies = plan->frequenciesKhz;
    } else {
        const Result<std::vector<std::int32_t>> parsed =
            ParseFrequencyArguments(arguments.frequencies);
        if (!parsed) {
            return parsed.Error();
        }
        frequencies = *parsed;
    }
    const std::vector<RasterRow> rows = PrescalerRaster(arguments.crystalHz, frequencies);
    out << RasterReportText(rows, arguments.csv);
    return rows.front().refusedKhz.empty() ? kExitSuccess : kExitRefused;
}

void DeclareRaster(CLI::App& command, RasterArguments& arguments) {
    AddCrystalOption(command, arguments.crystalHz);
    AddCsvFlag(command, arguments.csv);
    command
        .add_option("--plan", arguments.planPath,
                    "die Frequenzen aus diesem Kanalplan nehmen (-: Standardeingabe)")
        ->type_name("PLAN");
    command.add_option("FREQ_KHZ", arguments.frequencies, "Frequenzen in kHz")->type_name("");
}

}  // namespace

ToolCommand RasterCommand() {
    return CommandOf(
        "raster", "für alle 64 Vorteiler-Einstellungen zeigen, welche der Frequenzen sie erreichen",
        "[--crystal HZ] [--csv] (FREQ_KHZ... | --plan PLAN)", DeclareRaster, RunRaster);
}

}  // namespace vx40::tool
