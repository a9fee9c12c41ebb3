// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FrequencyText.h"

#include <vector>

#include "channel/CellText.h"
#include "channel/ChannelConstants.h"
#include "text/ShownText.h"
#include "tools/ToolFailure.h"

namespace vx40::tool {

std::string RefusalText(std::int32_t frequencyKhz, const NearestFrequencies& nearest) {
    std::string text = DecimalText(frequencyKhz) + " kHz: " + std::string(kFrequencyRefusedMessage);
    std::vector<std::string> neighbours;
    if (nearest.below) {
        neighbours.push_back(DecimalText(*nearest.below) + " kHz darunter");
    }
    if (nearest.above) {
        neighbours.push_back(DecimalText(*nearest.above) + " kHz darüber");
    }
    if (!neighbours.empty()) {
        text += " (nächste erreichbare: " + neighbours.front();
        if (neighbours.size() > 1) {
            text += ", " + neighbours.back();
        }
        text += ")";
    }
    return text;
}

Result<std::vector<std::int32_t>> ParseFrequencyArguments(const std::vector<std::string>& texts) {
    std::vector<std::int32_t> frequencies;
    for (const auto& text : texts) {
        const auto khz = ParseDecimalInt32(text);
        if (!khz) {
            return CallRefusal("\"" + ShownText(text) + "\" ist keine Frequenz in kHz");
        }
        frequencies.push_back(*khz);
    }
    return frequencies;
}

}  // namespace vx40::tool
