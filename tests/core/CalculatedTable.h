// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "channel/CalculatedRow.h"
#include "channel/ChannelTable.h"
#include "channel/DividerCalculation.h"

namespace vx40::testutil {

// All 16 rows filled by "Rechnen" as a user would: pick the row, pick up the frequency, calculate.
// The settings vary from row to row so that every kind of nibble shows up.
inline ChannelTable CalculatedTable() {
    ChannelTable table;
    table.WriteHeaderRow();
    SelectionCodes kept;
    for (int row = 1; row <= 16; ++row) {
        CalculationInputs inputs;
        inputs.prescalers = ReadPrescalerTexts(row % 4 == 0 ? "15" : "12", "5", "2", kept);
        kept = inputs.prescalers.codes;
        inputs.modulator = row % 2 == 0;
        inputs.test = row % 3 == 0;
        // Multiples of both ratios, 12500 Hz and 10000 Hz.
        inputs.frequencyKhz = 700000 + row * 1100;
        table.SetCurrentCell(0, row);
        table.FrequencyPickUp(inputs.frequencyKhz);
        WriteCalculatedRow(table, row, CalculatedRowTexts(CalculateDividerWord(inputs).word));
    }
    return table;
}

}  // namespace vx40::testutil
