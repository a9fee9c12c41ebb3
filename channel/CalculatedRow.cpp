// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/CalculatedRow.h"

#include "channel/CellText.h"

namespace vx40 {

const std::string& CalculatedRow::Cell(int column) const {
    return cells[static_cast<std::size_t>(column - 1)];
}

CalculatedRow CalculatedRowTexts(const Result<DividerWord>& word) {
    CalculatedRow texts;
    const auto set = [&](int column, std::string_view text) {
        texts.cells[static_cast<std::size_t>(column - 1)].assign(text);
    };
    if (!word) {
        texts.refused = true;
        for (int c = kN0Column; c <= kN2Column; ++c) {
            set(c, kRefusedPartText);
        }
        for (int c = kFirstNibbleColumn; c <= kLastNibbleColumn; ++c) {
            set(c, kRefusedNibbleText);
        }
        return texts;
    }
    set(kN0Column, DecimalText(word->parts.n0));
    set(kN1Column, DecimalText(word->parts.n1));
    set(kN2Column, DecimalText(word->parts.n2));
    for (int k = 0; k < kNibblesPerChannel; ++k) {
        set(NibbleColumn(k), NibbleText(word->nibbles[static_cast<std::size_t>(k)]));
    }
    return texts;
}

void WriteRowParts(ChannelTable& table, int row, const CalculatedRow& texts) {
    for (int c = kN2Column; c >= kN0Column; --c) {
        table.SetCell(c, row, texts.Cell(c));
    }
}

void WriteRowNibbles(ChannelTable& table, int row, const CalculatedRow& texts) {
    for (int k = 0; k < kNibblesPerChannel; ++k) {
        const int c = texts.refused ? kFirstNibbleColumn + k : NibbleColumn(k);
        table.SetCell(c, row, texts.Cell(c));
    }
}

void WriteCalculatedRow(ChannelTable& table, int row, const CalculatedRow& texts) {
    WriteRowParts(table, row, texts);
    WriteRowNibbles(table, row, texts);
}

}  // namespace vx40
