// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vx40 {

// The digits of hexadecimal texts: upper case in cells and records, lower case in escapes.
inline constexpr std::string_view kUpperHexDigits = "0123456789ABCDEF";
inline constexpr std::string_view kLowerHexDigits = "0123456789abcdef";

// The value of a hexadecimal digit of either case; none for any other character.
constexpr std::optional<unsigned> HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<unsigned>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<unsigned>(c - 'A' + 10);
    }
    return std::nullopt;
}

// Letter case of ASCII only: names of sections, keys and file endings compare this way, whatever
// the locale.
constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string AsciiLowered(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) {
        c = AsciiLower(c);
    }
    return lowered;
}

// The blanks each kind of text drops around its parts. Each set is a rule of its own format, so
// each has a name; trimming itself is one function.
inline constexpr std::string_view kIniBlanks = " \t\r";       // INI names and values
inline constexpr std::string_view kLineBlanks = " \t\r\f\v";  // a line of a plan
inline constexpr std::string_view kRecordBlanks = " \t\r\n";  // before and between records

constexpr std::string_view Trimmed(std::string_view text, std::string_view blanks) {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace vx40
