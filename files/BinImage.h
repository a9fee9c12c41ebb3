// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/Result.h"
#include "channel/ChannelConstants.h"
#include "channel/ChannelTable.h"
#include "channel/NibbleLayout.h"

namespace vx40 {

// The channel memory image: one data nibble per byte, no header, 16 channels of 8 nibbles.
inline constexpr std::size_t kBinImageSize =
    static_cast<std::size_t>(kChannelCount) * static_cast<std::size_t>(kNibblesPerChannel);
using BinImage = std::array<std::uint8_t, kBinImageSize>;

// The byte an empty cell is written as, the same byte as "0F".
inline constexpr std::uint8_t kEmptyCellByte = 0x0F;

// A data-nibble cell of the table: channel 1 to 16 (its row) and nibble k of Dk (column 11 - k).
struct NibbleCell {
    int channel = 0;
    int nibble = 0;

    constexpr int Row() const { return channel; }
    constexpr int Column() const { return NibbleColumn(nibble); }
    friend bool operator==(const NibbleCell&, const NibbleCell&) = default;
};

// The one layout rule of the image: channel 16 comes first and channel 1 last, and within a
// channel the nibbles run D0 to D7, so byte 0 is D0 of channel 16 and byte 127 D7 of channel 1.
constexpr NibbleCell BinImageCell(std::size_t offset) {
    const auto perChannel = static_cast<std::size_t>(kNibblesPerChannel);
    return {kChannelCount - static_cast<int>(offset / perChannel),
            static_cast<int>(offset % perChannel)};
}

// Where a cell stands in the image: the inverse of BinImageCell.
constexpr std::size_t BinImageOffset(const NibbleCell& cell) {
    return static_cast<std::size_t>(kChannelCount - cell.channel) *
               static_cast<std::size_t>(kNibblesPerChannel) +
           static_cast<std::size_t>(cell.nibble);
}

// The values of D0 to D7 of channel 1 to 16.
constexpr NibbleValues ChannelNibbleValues(const BinImage& image, int channel) {
    NibbleValues values{};
    for (int k = 0; k < kNibblesPerChannel; ++k) {
        values[static_cast<std::size_t>(k)] = image[BinImageOffset({channel, k})];
    }
    return values;
}

// The image of the table's data nibbles: a nibble text gives its value, an empty cell 0x0F. Any
// other text gives no image, so that no byte can ever move to another cell's place: the failure
// is InvalidNibbleCell with the first such cell in image order (position: its offset; detail: its
// text).
Result<BinImage> BuildBinImage(const ChannelTable& table);

// Sets the data-nibble cells of rows 1 to 16 to the image's nibble texts; columns 0 to 3 and the
// header row are not touched.
void ApplyBinImage(ChannelTable& table, const BinImage& image);

}  // namespace vx40
