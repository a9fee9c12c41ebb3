// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/ChannelTable.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "channel/CellText.h"

namespace vx40 {

ChannelTable::ChannelTable() = default;

// A cell outside the table is a fault of the program, never of the user: no input reaches such a
// cell, so the program stops rather than write beside the table.
void ChannelTable::CheckIndex(int column, int row) {
    if (column < 0 || column >= kColumnCount || row < 0 || row >= kRowCount) {
        const std::string message = "channel table cell out of range: column " +
                                    std::to_string(column) + ", row " + std::to_string(row) + "\n";
        std::fputs(message.c_str(), stderr);
        std::abort();
    }
}

const std::string& ChannelTable::Cell(int column, int row) const {
    CheckIndex(column, row);
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void ChannelTable::SetCell(int column, int row, std::string text) {
    CheckIndex(column, row);
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(text);
    if (observer_ != nullptr) {
        observer_->CellChanged(column, row);
    }
}

void ChannelTable::SetCurrentCell(int column, int row) {
    if (column < 0 || column >= kColumnCount || row < 1 || row >= kRowCount) {
        return;
    }
    currentColumn_ = column;
    currentRow_ = row;
}

void ChannelTable::RepaintNow() {
    if (observer_ != nullptr) {
        observer_->RepaintNow();
    }
}

void ChannelTable::WriteHeaderRow() {
    for (int c = 0; c < kColumnCount; ++c) {
        SetCell(c, 0, std::string(kHeaderTexts[static_cast<std::size_t>(c)]));
    }
}

void ChannelTable::Clear() {
    for (int c = 0; c < kColumnCount; ++c) {
        for (int r = 1; r < kRowCount; ++r) {
            SetCell(c, r, std::string(kClearedCellText));
        }
    }
}

void ChannelTable::FrequencyPickUp(std::int32_t frequencyKhz) {
    SetCell(kFrequencyColumn, currentRow_, DecimalText(frequencyKhz));
}

}  // namespace vx40
