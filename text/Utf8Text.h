// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vx40 {

// One character at the start of a UTF-8 text.
struct Utf8Character {
    std::size_t length = 0;  // 0: the first byte starts no UTF-8 sequence
    char32_t codePoint = 0;
};

// The UTF-8 sequence at the start of text: shortest form only, no surrogates, at most U+10FFFF.
Utf8Character DecodeUtf8Character(std::string_view text);

// Whether text is UTF-8 throughout. With cut, the text is the start of a longer one, so a
// sequence that the end breaks off counts as whole.
bool IsUtf8(std::string_view text, bool cut = false);

// A text of the Windows code page for Western Europe as UTF-8: 0x80 to 0x9F are its letters and
// signs ("€", "„", "Š" ...), the five bytes it leaves free stand for the C1 controls of the same
// number, 0xA0 to 0xFF are Latin-1.
std::string Windows1252AsUtf8(std::string_view text);

// A line of a file that may be written in either: as it is where it is UTF-8, otherwise read as
// Windows-1252. Spreadsheets write either, and text in UTF-8 is almost never taken for the other.
std::string LineAsUtf8(std::string_view line, bool cut = false);

}  // namespace vx40
