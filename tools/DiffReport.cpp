// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/DiffReport.h"

#include <vector>

#include "channel/CellText.h"
#include "channel/ChannelReading.h"
#include "text/CharacterRules.h"
#include "tools/FrequencyText.h"
#include "tools/TableOutput.h"

namespace vx40::tool {
namespace {

std::string ReadingText(const NibbleValues& nibbles, std::int32_t crystalHz) {
    const auto reading = ReadChannel(nibbles, crystalHz);
    return reading ? KhzText(reading->frequencyHz) + " kHz" : std::string("leer");
}

// "D7, D0" of the nibbles in which the channel's two sides differ; a row for each added to rows.
std::string DifferingNibbles(int channel, const NibbleValues& a, const NibbleValues& b,
                             std::vector<TextRow>& rows) {
    std::string differing;
    for (int k = kNibblesPerChannel - 1; k >= 0; --k) {
        const auto i = static_cast<std::size_t>(k);
        if (a[i] == b[i]) {
            continue;
        }
        const std::string nibble = "D" + DecimalText(k);
        if (!differing.empty()) {
            differing += ", ";
        }
        differing += nibble;
        rows.push_back({DecimalText(channel), nibble, NibbleText(a[i]), NibbleText(b[i])});
    }
    return differing;
}

}  // namespace

bool IsChannelSetPath(const std::string& path) {
    constexpr std::string_view kExtension = ".vx4";
    if (path.size() < kExtension.size()) {
        return false;
    }
    return AsciiLowered(std::string_view(path).substr(path.size() - kExtension.size())) ==
           kExtension;
}

DiffReport CompareImages(const BinImage& first, const BinImage& second, std::int32_t crystalHz,
                         bool csv) {
    DiffReport report;
    std::vector<TextRow> rows;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        const NibbleValues a = ChannelNibbleValues(first, channel);
        const NibbleValues b = ChannelNibbleValues(second, channel);
        const std::string differing = DifferingNibbles(channel, a, b, rows);
        if (!csv && !differing.empty()) {
            report.text += "Kanal " + DecimalText(channel) + ": " + ReadingText(a, crystalHz) +
                           " gegen " + ReadingText(b, crystalHz) + " (" + differing +
                           " verschieden)\n";
        }
    }
    if (csv) {
        report.text = TableText({"Kanal", "Nibble", "A", "B"}, rows, true);
    }
    report.differs = !rows.empty();
    return report;
}

}  // namespace vx40::tool
