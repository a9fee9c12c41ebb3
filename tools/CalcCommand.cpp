// SPDX-License-Identifier: GPL-3.0-or-later
#include <optional>

#include <CLI/App.hpp>

#include "channel/CellText.h"
#include "channel/ChannelConstants.h"
#include "tools/CalculationOptions.h"
#include "tools/ExitCode.h"
#include "tools/FrequencyText.h"
#include "tools/TableOutput.h"
#include "tools/ToolCommand.h"
#include "tools/ToolError.h"

namespace vx40::tool {
namespace {

struct CalcArguments {
    CalculationOptions calculation;
    bool csv = false;
    std::vector<std::string> frequencies;
};

int RunCalc(const CalcArguments& arguments, std::ostream& out, std::ostream& err) {
    const std::vector<std::int32_t> frequencies = ParseFrequencyArguments(arguments.frequencies);

    // Every frequency goes through row 1 of one table, as repeated runs of "Rechnen" on one row
    // would, with the kept codes carried from run to run.
    ChannelTable table;
    SelectionCodes kept;
    std::optional<std::int32_t> ratio;
    std::vector<TextRow> rows;
    int exitCode = kExitSuccess;
    for (const std::int32_t khz : frequencies) {
        const CalculationResult result =
            CalculateDividerWord(arguments.calculation.ForFrequency(khz), kept);
        ratio = result.ratio;
        table.SetCell(kFrequencyColumn, 1, DecimalText(khz));
        ApplyCalculation(table, 1, result, [&] {
            err << RefusalText(khz, NearestAchievableFrequencies(result.ratio, khz)) << '\n';
            exitCode = kExitRefused;
        });
        TextRow row = ChannelRow(table, 1);
        row.erase(row.begin());
        rows.push_back(std::move(row));
    }

    if (!arguments.csv && ratio) {
        out << "Ratio: " << DecimalText(*ratio) << " Hz\n";
    }
    PrintTable(out, ChannelColumnHeader(false), rows, arguments.csv);
    return exitCode;
}

void DeclareCalc(CLI::App& command, CalcArguments& arguments) {
    AddCalculationOptions(command, arguments.calculation);
    AddCsvFlag(command, arguments.csv);
    command.add_option("FREQ_KHZ", arguments.frequencies, "Frequenzen in kHz")
        ->required()
        ->type_name("");
}

}  // namespace

ToolCommand CalcCommand() {
    return CommandOf("calc", "Frequenzen berechnen wie \"Rechnen\"",
                     "[OPTIONEN] [--csv] FREQ_KHZ...", DeclareCalc, RunCalc);
}

}  // namespace vx40::tool
