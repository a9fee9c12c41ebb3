// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/BinImage.h"

#include "channel/CellText.h"

namespace vx40 {

Result<BinImage> BuildBinImage(const ChannelTable& table) {
    BinImage image{};
    for (std::size_t offset = 0; offset < kBinImageSize; ++offset) {
        const NibbleCell cell = BinImageCell(offset);
        const std::string& text = table.Cell(cell.Column(), cell.Row());
        if (text.empty()) {
            image[offset] = kEmptyCellByte;
        } else if (const std::optional<int> value = NibbleValue(text)) {
            image[offset] = static_cast<std::uint8_t>(*value);
        } else {
            return Failure(FailureKind::InvalidNibbleCell, 0, text, offset);
        }
    }
    return image;
}

void ApplyBinImage(ChannelTable& table, const BinImage& image) {
    for (std::size_t offset = 0; offset < kBinImageSize; ++offset) {
        const NibbleCell cell = BinImageCell(offset);
        table.SetCell(cell.Column(), cell.Row(), NibbleText(image[offset]));
    }
}

}  // namespace vx40
