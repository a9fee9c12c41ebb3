// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/IntegerConversion.h"

#include <charconv>
#include <string>

#include "base/RuntimeFailure.h"
#include "text/CharacterRules.h"

namespace vx40 {
namespace {

std::optional<std::uint32_t> ParseHexPattern(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint32_t pattern = 0;
    int significant = 0;
    for (char c : digits) {
        const auto value = HexDigitValue(c);
        if (!value) {
            return std::nullopt;
        }
        if (significant > 0 || *value != 0) {
            if (++significant > 8) {
                return std::nullopt;
            }
        }
        pattern = (pattern << 4) | *value;
    }
    return pattern;
}

// Returns the magnitude; the caller applies the sign and checks the range.
std::optional<std::uint64_t> ParseDecimal(std::string_view digits) {
    if (digits.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > 0x80000000ULL) {
            return std::nullopt;
        }
    }
    return value;
}

// The digits after a hex prefix ("$", "x", "X", "0x" or "0X"); none where the text has none.
std::optional<std::string_view> HexDigitsAfterPrefix(std::string_view text) {
    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
        return text.substr(1);
    }
    if (text.starts_with("0x") || text.starts_with("0X")) {
        return text.substr(2);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::string_view rest = text.substr(pos);

    if (const auto hexDigits = HexDigitsAfterPrefix(rest)) {
        const auto pattern = ParseHexPattern(*hexDigits);
        if (!pattern) {
            return std::nullopt;
        }
        // Unsigned negation wraps, as the 32-bit pattern does.
        const std::uint32_t bits = negative ? 0U - *pattern : *pattern;
        return static_cast<std::int32_t>(bits);
    }

    const auto magnitude = ParseDecimal(rest);
    if (!magnitude) {
        return std::nullopt;
    }
    if (negative) {
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(*magnitude));
    }
    if (*magnitude > 0x7FFFFFFFULL) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*magnitude);
}

std::int32_t StrToInt(std::string_view text) {
    const auto value = TryStrToInt(text);
    if (!value) {
        throw ConversionFailure(std::string(text));
    }
    return *value;
}

std::optional<std::int32_t> ParseDecimalInt32(std::string_view text) {
    std::int32_t value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (text.empty() || error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

}  // namespace vx40
