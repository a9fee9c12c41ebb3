// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/CellText.h"

#include "text/CharacterRules.h"

namespace vx40 {

std::optional<int> NibbleValue(std::string_view text) {
    if (text.size() != 2 || text[0] != '0') {
        return std::nullopt;
    }
    const auto pos = kUpperHexDigits.find(text[1]);
    if (pos == std::string_view::npos) {
        return std::nullopt;
    }
    return static_cast<int>(pos);
}

std::string NibbleText(int value) {
    return std::string{'0', kUpperHexDigits[static_cast<std::size_t>(value & 0xF)]};
}

std::string DecimalText(std::int64_t value) {
    return std::to_string(value);
}

std::string KhzText(std::int64_t frequencyHz) {
    const std::string sign = frequencyHz < 0 ? "-" : "";
    const std::int64_t hz = frequencyHz < 0 ? -frequencyHz : frequencyHz;
    const std::string fraction = DecimalText(hz % 1000);
    return sign + DecimalText(hz / 1000) + "." + std::string(3 - fraction.size(), '0') + fraction;
}

std::string TwoDigitHexText(std::int32_t value) {
    auto rest = static_cast<std::uint32_t>(value);
    std::string text;
    do {
        text.insert(text.begin(), kUpperHexDigits[rest & 0xFu]);
        rest >>= 4;
    } while (rest != 0 || text.size() < 2);
    return text;
}

}  // namespace vx40
