// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "base/Result.h"
#include "channel/ChannelConstants.h"
#include "channel/ChannelTable.h"
#include "channel/DividerCalculation.h"

namespace vx40 {

// The texts a run of "Rechnen" gives columns 1 to 11 of its row: N0, N1, N2 and D7 to D0, or
// for a refused frequency " " in the parts and "0F" in the data nibbles. Column 0 is never
// written.
struct CalculatedRow {
    bool refused = false;
    std::array<std::string, kColumnCount - 1> cells;  // columns 1 to 11

    const std::string& Cell(int column) const;
};

CalculatedRow CalculatedRowTexts(const Result<DividerWord>& word);

// Columns 3 to 1 of row: N2, N1, N0, or the blanks of a refusal. The window shows a refusal's
// message after these and before the data nibbles.
void WriteRowParts(ChannelTable& table, int row, const CalculatedRow& texts);

// Columns 4 to 11 of row: D0 up to D7, or the "0F" of a refusal from D7 to D0.
void WriteRowNibbles(ChannelTable& table, int row, const CalculatedRow& texts);

// The parts, then the data nibbles: a run with no message in between.
void WriteCalculatedRow(ChannelTable& table, int row, const CalculatedRow& texts);

}  // namespace vx40
