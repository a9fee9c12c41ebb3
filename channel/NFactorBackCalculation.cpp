// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/NFactorBackCalculation.h"

#include "channel/CellText.h"
#include "channel/NibbleLayout.h"

namespace vx40 {

std::int32_t LowNibbleValue(std::string_view text) {
    return NibbleValue(text).value_or(0);
}

void BackCalculateNFactors(ChannelTable& table) {
    for (int r = 1; r < kRowCount; ++r) {
        // A text that is no nibble text counts as 0, in the low and the high nibble alike.
        NibbleValues values{};
        for (int k = 0; k < kNibblesPerChannel; ++k) {
            values[static_cast<std::size_t>(k)] = LowNibbleValue(table.Cell(NibbleColumn(k), r));
        }
        const NParts parts = UnpackChannelWord(values).parts;
        table.SetCell(kN0Column, r, DecimalText(parts.n0));
        table.SetCell(kN1Column, r, DecimalText(parts.n1));
        table.SetCell(kN2Column, r, DecimalText(parts.n2));
        table.SetCell(
            kFrequencyColumn, r,
            DecimalText(ComposeNFactor(parts) * kBackStepNumerator / kBackStepDenominator));
    }
}

}  // namespace vx40
