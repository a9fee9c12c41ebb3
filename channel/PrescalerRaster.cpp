// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/PrescalerRaster.h"

#include <algorithm>
#include <tuple>

#include "channel/DividerCalculation.h"

namespace vx40 {

std::vector<RasterRow> PrescalerRaster(std::int32_t crystalHz,
                                       std::span<const std::int32_t> frequenciesKhz) {
    std::vector<RasterRow> rows;
    for (const PrescalerEntry& r0 : kR0Entries) {
        for (const PrescalerEntry& r1 : kR1Entries) {
            for (const PrescalerEntry& r2 : kR2Entries) {
                CalculationInputs inputs;
                inputs.crystalHz = crystalHz;
                inputs.r0Text = r0.text;
                inputs.r1Text = r1.text;
                inputs.r2Text = r2.text;
                RasterRow row{r0, r1, r2, CalculateRatio(inputs), {}, 0};
                for (const std::int32_t khz : frequenciesKhz) {
                    inputs.frequencyKhz = khz;
                    SelectionCodes codes;
                    if (CalculateDividerWord(inputs, codes).Refused()) {
                        row.refusedKhz.push_back(khz);
                    } else {
                        ++row.reached;
                    }
                }
                rows.push_back(std::move(row));
            }
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const RasterRow& a, const RasterRow& b) {
        return std::tuple(b.reached, b.ratio, a.r0.divisor, a.r1.divisor, a.r2.divisor) <
               std::tuple(a.reached, a.ratio, b.r0.divisor, b.r1.divisor, b.r2.divisor);
    });
    return rows;
}

}  // namespace vx40
