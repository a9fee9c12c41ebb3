// SPDX-License-Identifier: GPL-3.0-or-later
#include <optional>

#include <CLI/App.hpp>

#include "channel/CellText.h"
#include "channel/ChannelReading.h"
#include "channel/DividerCalculation.h"
#include "tools/CalculationOptions.h"
#include "tools/ExitCode.h"
#include "tools/FrequencyText.h"
#include "tools/ImageInput.h"
#include "tools/TableOutput.h"
#include "tools/ToolCommand.h"

namespace vx40::tool {
namespace {

struct InspectArguments {
    std::int32_t crystalHz = kCrystalHz;
    bool csv = false;
    std::string inputPath;
};

TextRow InspectRow(int channel, const std::optional<ChannelReading>& reading) {
    if (!reading) {
        return {DecimalText(channel), std::string(kEmptyChannelText), "", "", "", "", "", "", ""};
    }
    return {DecimalText(channel),           std::string(reading->r0.text),
            std::string(reading->r1.text),  std::string(reading->r2.text),
            DecimalText(reading->ratio),    DecimalText(reading->n),
            KhzText(reading->frequencyHz),  reading->modulator ? "1" : "0",
            NibbleText(reading->testNibble)};
}

Result<int> RunInspect(const InspectArguments& arguments, std::ostream& out,
                       std::ostream& /*err*/) {
    const Result<BinImage> read = ReadImageInput(arguments.inputPath);
    if (!read) {
        return read.Error();
    }
    std::vector<TextRow> rows;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        rows.push_back(InspectRow(
            channel, ReadChannel(ChannelNibbleValues(*read, channel), arguments.crystalHz)));
    }
    PrintTable(out, {"Kanal", "R0", "R1", "R2", "Ratio", "N", "Frequenz", "Modulator", "Test"},
               rows, arguments.csv);
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
