// SPDX-License-Identifier: GPL-3.0-or-later
#include <optional>

#include <CLI/App.hpp>

#include "channel/CellText.h"
#include "channel/ChannelReading.h"
#include "channel/DividerCalculation.h"
#include "files/ChipImage.h"
#include "tools/CalculationOptions.h"
#include "tools/ChipOptions.h"
#include "tools/ExitCode.h"
#include "tools/FrequencyText.h"
#include "tools/ImageInput.h"
#include "tools/TableOutput.h"
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

// The checksums, and the bytes of a chip outside the 128 that are not the fill, follow the table;
// a CSV table stays a table alone, and they go to standard error.
Result<int> RunInspect(const InspectArguments& arguments, std::ostream& out, std::ostream& err) {
    const Result<ImageRead> read = ReadImageInput(arguments.inputPath, arguments.chip);
    if (!read) {
        return read.Error();
    }
    std::vector<TextRow> rows;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        rows.push_back(InspectRow(
            channel, ReadChannel(ChannelNibbleValues(read->image, channel), arguments.crystalHz)));
    }
    PrintTable(out, {"Kanal", "R0", "R1", "R2", "Ratio", "N", "Frequenz", "Modulator", "Test"},
               rows, arguments.csv);
    const std::size_t offset = arguments.chip.offset.value_or(0);
    const ChipRest rest = ChipRestOf(read->bytes, offset, arguments.chip.fill);
    if (arguments.csv) {
        PrintChecksumLine(err, arguments.inputPath, false, read->bytes);
        if (rest.differing != 0) {
            err << kToolName << ": " << ChipRestText(rest, offset, arguments.chip.fill) << '\n';
        }
    } else {
        out << ChecksumsLine(read->bytes) << '\n';
        if (rest.differing != 0) {
            out << ChipRestText(rest, offset, arguments.chip.fill) << '\n';
        }
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
