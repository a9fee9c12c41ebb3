// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/InspectReport.h"

#include <optional>
#include <vector>

#include "channel/CellText.h"
#include "channel/ChannelReading.h"
#include "files/ChipImage.h"
#include "files/ImageChecksums.h"
#include "text/ShownText.h"
#include "tools/FrequencyText.h"
#include "tools/TableOutput.h"

namespace vx40::tool {
namespace {

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

}  // namespace

std::string InspectReportText(const BinImage& image, std::int32_t crystalHz, bool csv) {
    std::vector<TextRow> rows;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        rows.push_back(
            InspectRow(channel, ReadChannel(ChannelNibbleValues(image, channel), crystalHz)));
    }
    return TableText({"Kanal", "R0", "R1", "R2", "Ratio", "N", "Frequenz", "Modulator", "Test"},
                     rows, csv);
}

std::string ChecksumsLine(std::span<const std::uint8_t> bytes) {
    return "Prüfsummen: " + ChecksumText(ChecksumsOf(bytes));
}

std::string FileChecksumsText(std::string_view fileName, std::span<const std::uint8_t> bytes) {
    return "\"" + ShownText(fileName) + "\": " + ChecksumText(ChecksumsOf(bytes));
}

std::string ChipRestLine(std::string_view lead, std::span<const std::uint8_t> chip,
                         std::size_t offset, std::uint8_t fill) {
    const ChipRest rest = ChipRestOf(chip, offset, fill);
    if (rest.differing == 0) {
        return {};
    }
    return std::string(lead) + ChipRestText(rest, offset, fill) + '\n';
}

}  // namespace vx40::tool
