// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/Utf8Text.h"

#include <array>

namespace vx40 {
namespace {

// The characters of 0x80 to 0x9F; 0 where the code page leaves the byte free.
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

Utf8Character DecodeUtf8Character(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {1, lead};
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    char32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0Fu;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07u;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {};
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return {};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return {};
        }
        codePoint = (codePoint << 6) | (byte(i) & 0x3Fu);
    }
    return {length, codePoint};
}

bool IsUtf8(std::string_view text, bool cut) {
    while (!text.empty()) {
        if (static_cast<unsigned char>(text.front()) < 0x80) {
            text.remove_prefix(1);
            continue;
        }
        const Utf8Character character = DecodeUtf8Character(text);
        if (character.length == 0) {
            // A cut end of at most three bytes counts when continuation bytes would complete it.
            const auto completes = [&](std::string_view continuation) {
                return DecodeUtf8Character(std::string(text) + std::string(continuation)).length >
                       text.size();
            };
            return cut && text.size() < 4 &&
                   (completes("\x80\x80\x80") || completes("\xBF\xBF\xBF"));
        }
        text.remove_prefix(character.length);
    }
    return true;
}

std::string Windows1252AsUtf8(std::string_view text) {
    std::string utf8;
    utf8.reserve(text.size() * 2);
    for (const char byte : text) {
        const auto value = static_cast<unsigned char>(byte);
        const char16_t high = value >= 0x80 && value < 0xA0 ? kWindows1252High[value - 0x80] : 0;
        AppendUtf8(utf8, high != 0 ? high : value);
    }
    return utf8;
}

std::string LineAsUtf8(std::string_view line, bool cut) {
    return IsUtf8(line, cut) ? std::string(line) : Windows1252AsUtf8(line);
}

}  // namespace vx40
