// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/BinImage.h"

#include "channel/CellText.h"

namespace vx40 {

BinImageBuild BuildBinImage(const ChannelTable& table) {
    BinImage image{};
    for (std::size_t offset = 0; offset < kBinImageSize; ++offset) {
        const NibbleCell cell = BinImageCell(offset);
        const std::string& text = table.Cell(cell.Column(), cell.Row());
        if (text.empty()) {
            image[offset] = kEmptyCellByte;
        } else if (const std::optional<int> value = NibbleValue(text)) {
            image[offset] = static_cast<std::uint8_t>(*value);
        } else {
            return {std::nullopt, InvalidNibbleCell{cell, text}};
        }
    }
    return {image, std::nullopt};
}

BinImageParse ParseBinImage(std::span<const std::uint8_t> bytes) {
    BinImageParse parse;
    if (bytes.size() < kBinImageSize) {
        parse.fault = BinImageFault::TooShort;
        return parse;
    }
    for (std::size_t offset = 0; offset < kBinImageSize; ++offset) {
        if (bytes[offset] > 0x0F) {
            parse.fault = BinImageFault::InvalidData;
            parse.invalidOffset = offset;
            parse.image = {};
            return parse;
        }
        parse.image[offset] = bytes[offset];
    }
    return parse;
}

void ApplyBinImage(ChannelTable& table, const BinImage& image) {
    for (std::size_t offset = 0; offset < kBinImageSize; ++offset) {
        const NibbleCell cell = BinImageCell(offset);
        table.SetCell(cell.Column(), cell.Row(), NibbleText(image[offset]));
    }
}

}  // namespace vx40
