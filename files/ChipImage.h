// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "channel/ChannelTable.h"
#include "files/BinImage.h"

namespace vx40 {

// An EPROM larger than the channel memory: its programmer wants a file of the chip's whole size,
// the 128 bytes at an offset and every other byte in the blank state.
inline constexpr std::size_t kMaxChipSize = 1048576;  // 1 MiB
inline constexpr std::uint8_t kBlankChipByte = 0xFF;  // an erased EPROM

// Where the 128 bytes stand in the chip. The default layout is the image alone.
struct ChipLayout {
    std::size_t size = kBinImageSize;
    std::uint8_t fill = kBlankChipByte;
    std::size_t offset = 0;
};

// The values of --size, --fill and --offset: decimal, or "0x"/"0X" and hexadecimal digits. A
// refusal is ChipLayoutRefused with the German message as detail, naming the text as ShownText
// shows it: a size of 128 to 1048576, a byte of 0 to 255, an offset below 1048576 - 127.
Result<std::size_t> ChipSizeValue(std::string_view text);
Result<std::uint8_t> ChipFillValue(std::string_view text);
Result<std::size_t> ChipOffsetValue(std::string_view text);

// ChipLayoutRefused when the 128 bytes at the offset do not fit in the size.
Status CheckChipLayout(const ChipLayout& layout);

// The bytes of the chip: fill everywhere, the image at the offset. The layout must be checked.
std::vector<std::uint8_t> ChipBytes(const BinImage& image, const ChipLayout& layout);

// The chip of the table's image, refused as BuildBinImage refuses an invalid cell.
Result<std::vector<std::uint8_t>> ChipBytesOfTable(const ChannelTable& table,
                                                   const ChipLayout& layout);

// The image a chip read back holds. A chip of exactly 128 bytes is the image itself, whatever the
// offset; a larger one holds it at the offset. A smaller chip, an offset whose 128 bytes go beyond
// the chip, or a byte above 0x0F among them is ChipImageRefused (detail: the message, naming the
// address).
Result<BinImage> ImageInChip(std::span<const std::uint8_t> chip, std::size_t offset);

// The bytes of a chip outside the 128 at the offset that are not the fill: how many, and the
// addresses of the first few. A chip of 128 bytes has none.
struct ChipRest {
    std::size_t differing = 0;
    std::vector<std::size_t> firstAddresses;  // at most kChipRestAddressesShown
};
inline constexpr std::size_t kChipRestAddressesShown = 8;
ChipRest ChipRestOf(std::span<const std::uint8_t> chip, std::size_t offset, std::uint8_t fill);

// "3 Bytes außerhalb der 128 Bytes ab 0x100 sind nicht 0xFF: 0x000, 0x001, 0x7FF"; "…" after the
// addresses where more differ.
std::string ChipRestText(const ChipRest& rest, std::size_t offset, std::uint8_t fill);

// "0x7FF": an address or a size in upper-case hexadecimal, at least two digits.
std::string ChipAddressText(std::uint64_t address);

}  // namespace vx40
