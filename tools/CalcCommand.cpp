// SPDX-License-Identifier: GPL-3.0-or-later
#include <optional>

#include <CLI/App.hpp>

#include "channel/CalculatedRow.h"
#include "channel/CellText.h"
#include "tools/CalculationOptions.h"
#include "tools/ExitCode.h"
#include "tools/FrequencyText.h"
#include "tools/TableOutput.h"
#include "tools/ToolCommand.h"

namespace vx40::tool {
namespace {

struct CalcArguments {
    CalculationOptions calculation;
    bool csv = false;
    std::vector<std::string> frequencies;
};

Result<int> RunCalc(const CalcArguments& arguments, std::ostream& out, std::ostream& err) {
    const Result<std::vector<std::int32_t>> parsed = ParseFrequencyArguments(arguments.frequencies);
    if (!parsed) {
        return parsed.Error();
    }
    const std::vector<std::int32_t>& frequencies = *parsed;

    // Every frequency is one run of "Rechnen" with the same settings, as on row 1 of the window.
    CalculationInputs inputs = arguments.calculation.Inputs();
    const std::int32_t ratio = CalculateRatio(inputs.crystalHz, inputs.prescalers);
    std::vector<TextRow> rows;
    int exitCode = kExitSuccess;
    for (const std::int32_t khz : frequencies) {
        inputs.frequencyKhz = khz;
        const Result<DividerWord> word = DividerWordAt(ratio, inputs);
        if (!word) {
            err << RefusalText(khz, NearestAchievableFrequencies(ratio, khz)) << '\n';
            exitCode = kExitRefused;
        }
        const CalculatedRow texts = CalculatedRowTexts(word);
        TextRow row{DecimalText(khz)};
        row.insert(row.end(), texts.cells.begin(), texts.cells.end());
        rows.push_back(std::move(row));
    }

    if (!arguments.csv && !frequencies.empty()) {
        out << "Ratio: " << DecimalText(ratio) << " Hz\n";
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
