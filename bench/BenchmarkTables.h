// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "channel/CalculatedRow.h"
#include "channel/ChannelTable.h"
#include "channel/DividerCalculation.h"

namespace vx40::bench {

// The frequency of channel row 1 to 16: whole multiples of the default 12.5 kHz step, so every
// row is calculated, never refused. A shift gives another table with values of the same length.
constexpr std::int32_t RowFrequencyKhz(int row, std::int32_t shiftKhz = 0) {
    return 798300 + 25 * row + shiftKhz;
}

// One "Rechnen" per row with the default settings.
inline void CalculateRows(ChannelTable& table, std::int32_t shiftKhz = 0) {
    for (int row = 1; row <= 16; ++row) {
        CalculationInputs inputs;
        inputs.frequencyKhz = RowFrequencyKhz(row, shiftKhz);
        table.SetCell(kFrequencyColumn, row, std::to_string(inputs.frequencyKhz));
        WriteCalculatedRow(table, row, CalculatedRowTexts(CalculateDividerWord(inputs).word));
    }
}

// All 16 rows filled as a user would fill them before saving or writing the bin file.
inline ChannelTable CalculatedTable(std::int32_t shiftKhz = 0) {
    ChannelTable table;
    table.WriteHeaderRow();
    CalculateRows(table, shiftKhz);
    return table;
}

}  // namespace vx40::bench
