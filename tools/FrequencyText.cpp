#include "tools/FrequencyText.h"

#include <charconv>
#include <vector>

#include "channel/CellText.h"
#include "channel/ChannelConstants.h"

namespace vx40::tool {

std::optional<std::int32_t> ParseDecimalInt32(std::string_view text) {
    std::int32_t value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (text.empty() || error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

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

}  // namespace vx40::tool
