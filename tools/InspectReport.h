// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "files/BinImage.h"

namespace vx40::tool {

// What an image says of itself, channel by channel: its prescalers, ratio, N, the true frequency
// from its own codes, modulator and test nibble ("leer" for an empty channel), as a table.
std::string InspectReportText(const BinImage& image, std::int32_t crystalHz, bool csv);

// "Prüfsummen: Summe 0x1A2B, CRC-32 0x0123ABCD", the line inspect prints after its table.
std::string ChecksumsLine(std::span<const std::uint8_t> bytes);

// "\"kanal.bin\": Summe 0x1A2B, CRC-32 0x0123ABCD": the checksums of the image of a named file,
// the name shown escaped.
std::string FileChecksumsText(std::string_view fileName, std::span<const std::uint8_t> bytes);

// The line that names the bytes of a chip outside its image that are not the fill, after lead
// ("B: 1 Byte außerhalb der 128 Bytes …"), or nothing where the rest of the chip is the fill.
std::string ChipRestLine(std::string_view lead, std::span<const std::uint8_t> chip,
                         std::size_t offset, std::uint8_t fill);

}  // namespace vx40::tool
