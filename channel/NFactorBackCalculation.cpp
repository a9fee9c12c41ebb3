#include "channel/NFactorBackCalculation.h"

#include "channel/CellText.h"

namespace vx40 {

std::int32_t LowNibbleValue(std::string_view text) {
    return NibbleValue(text).value_or(0);
}

std::int32_t HighNibbleValue(std::string_view text) {
    return (NibbleValue(text).value_or(0) & 7) * 16;
}

void BackCalculateNFactors(ChannelTable& table) {
    const auto part = [&](int row, int lowK, int highK) {
        return LowNibbleValue(table.Cell(NibbleColumn(lowK), row)) +
               HighNibbleValue(table.Cell(NibbleColumn(highK), row));
    };
    for (int r = 1; r < kRowCount; ++r) {
        const std::int32_t n0 = part(r, 1, 2);
        const std::int32_t n1 = part(r, 3, 4);
        const std::int32_t n2 = part(r, 5, 6);
        table.SetCell(kN0Column, r, DecimalText(n0));
        table.SetCell(kN1Column, r, DecimalText(n1));
        table.SetCell(kN2Column, r, DecimalText(n2));
        const std::int32_t n = (n2 * kN1Weight + n1) * kN1Weight + n0;
        table.SetCell(kFrequencyColumn, r,
                      DecimalText(n * kBackStepNumerator / kBackStepDenominator));
    }
}

}  // namespace vx40
