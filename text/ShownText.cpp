// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/ShownText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "text/CharacterRules.h"
#include "text/Utf8Text.h"

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
        const Utf8Character character = DecodeUtf8Character(text);
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
