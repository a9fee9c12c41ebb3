// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vx40 {

// What an EPROM programmer shows of the bytes it holds: the sum of all bytes in 16 bits and
// the CRC-32 of the common polynomial (reflected 0xEDB88320, start and final xor 0xFFFFFFFF).
struct ImageChecksums {
    std::uint16_t sum = 0;
    std::uint32_t crc32 = 0;
};

ImageChecksums ChecksumsOf(std::span<const std::uint8_t> bytes);

// "Summe 0x1A2B, CRC-32 0x0123ABCD": the digits upper case, always four and eight of them.
std::string ChecksumText(const ImageChecksums& checksums);

}  // namespace vx40
