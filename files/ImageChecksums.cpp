// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ImageChecksums.h"

#include <array>

#include "text/CharacterRules.h"

namespace vx40 {
namespace {

constexpr std::uint32_t kCrc32Polynomial = 0xEDB88320U;

constexpr std::array<std::uint32_t, 256> Crc32Table() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t byte = 0; byte < table.size(); ++byte) {
        std::uint32_t value = byte;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 1U) != 0 ? (value >> 1U) ^ kCrc32Polynomial : value >> 1U;
        }
        table[byte] = value;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrc32Table = Crc32Table();

std::string HexDigits(std::uint32_t value, int digits) {
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int index = digits - 1; index >= 0; --index) {
        text[static_cast<std::size_t>(index)] = kUpperHexDigits[value & 0xFU];
        value >>= 4U;
    }
    return text;
}

}  // namespace

ImageChecksums ChecksumsOf(std::span<const std::uint8_t> bytes) {
    std::uint32_t sum = 0;
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const std::uint8_t byte : bytes) {
        sum += byte;
        crc = kCrc32Table[(crc ^ byte) & 0xFFU] ^ (crc >> 8U);
    }
    return {static_cast<std::uint16_t>(sum & 0xFFFFU), crc ^ 0xFFFFFFFFU};
}

std::string ChecksumText(const ImageChecksums& checksums) {
    return "Summe 0x" + HexDigits(checksums.sum, 4) + ", CRC-32 0x" + HexDigits(checksums.crc32, 8);
}

}  // namespace vx40
