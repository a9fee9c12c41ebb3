// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "channel/ChannelConstants.h"

namespace vx40 {

// A view of the table learns of every changed cell and of a request to draw at once.
class ChannelTableObserver {
  public:
    virtual ~ChannelTableObserver() = default;
    virtual void CellChanged(int column, int row) = 0;
    virtual void RepaintNow() = 0;
};

// The channel table: 17 rows (the header row 0, channels 1 to 16) by 12 columns of texts, and a
// current cell that is never in the header row. The only holder of channel data; every command
// reads the cell texts when it runs and writes its results back as texts.
class ChannelTable {
  public:
    ChannelTable();

    // Column 0 to 11, row 0 to 16; an index outside the table is a programming error.
    const std::string& Cell(int column, int row) const;
    void SetCell(int column, int row, std::string text);

    int CurrentColumn() const { return currentColumn_; }
    int CurrentRow() const { return currentRow_; }
    // Only the user moves the current cell (through the view); a row outside 1 to 16 is ignored.
    void SetCurrentCell(int column, int row);

    void RepaintNow();

    void WriteHeaderRow();
    void Clear();
    void FrequencyPickUp(std::int32_t frequencyKhz);

    void SetObserver(ChannelTableObserver* observer) { observer_ = observer; }

  private:
    static void CheckIndex(int column, int row);

    std::array<std::array<std::string, kColumnCount>, kRowCount> cells_{};
    int currentColumn_ = 0;
    int currentRow_ = 1;
    ChannelTableObserver* observer_ = nullptr;
};

}  // namespace vx40
