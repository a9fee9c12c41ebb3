// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/ShownText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "text/CharacterRules.h"

namespace vx40 {
namespace {

// The code points of general category Cf, with U+2028 and U+2029 (which end a line) and the
// unassigned U+2065 between the bidirectional isolates.
constexpr std::array<std::pair<char32_t, char32_t>, 20> kFormatCharacters = {{
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},
    {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},
    {0x200B, 0x200F},   {0x2028, 0x202E},   {0x2060, 0x206F},   {0xFEFF, 0xFEFF},
    {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD}, {0x13430, 0x1343F},
    {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001}, {0xE0020, 0xE007F},
}};

struct Character {
    std::size_t length = 0;  // 0: the first byte starts no UTF-8 sequence
    char32_t codePoint = 0;
};

// The UTF-8 sequence at the start of text: shortest form only, no surrogates, at most U+10FFFF.
Character DecodeCharacter(std::string_view text) {
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

bool IsFormatCharacter(char32_t codePoint) {
    return std::any_of(kFormatCharacters.begin(), kFormatCharacters.end(), [&](const auto& range) {
        return codePoint >= range.first && codePoint <= range.second;
    });
}

void AppendHex(std::string& shown, std::uint32_t value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) {
        shown += kLowerHexDigits[(value >> shift) & 0x0Fu];
    }
}

void AppendEscapedBytes(std::string& shown, std::string_view bytes) {
    for (const char byte : bytes) {
        shown += "\\x";
        AppendHex(shown, static_cast<unsigned char>(byte), 2);
    }
}

}  // namespace

std::string ShownText(std::string_view text, std::size_t maxCharacters) {
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t count = 0; !text.empty(); ++count) {
        if (count == maxCharacters) {
            return shown + "…";
        }
        const Character character = DecodeCharacter(text);
        const std::string_view bytes = text.substr(0, std::max<std::size_t>(character.length, 1));
        const char32_t c = character.codePoint;
        // C0, DEL and C1 (U+0080 to U+009F), which some terminals obey as well.
        if (character.length == 0 || c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            AppendEscapedBytes(shown, bytes);
        } else if (IsFormatCharacter(c)) {
            shown += c > 0xFFFF ? "\\U" : "\\u";
            AppendHex(shown, static_cast<std::uint32_t>(c), c > 0xFFFF ? 8 : 4);
        } else {
            shown += bytes;
        }
        text.remove_prefix(bytes.size());
    }
    return shown;
}

}  // namespace vx40
