// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "channel/Prescalers.h"

namespace vx40 {

// One combination of the three prescaler lists and which frequencies "Rechnen" accepts with it.
struct RasterRow {
    PrescalerEntry r0;
    PrescalerEntry r1;
    PrescalerEntry r2;
    std::int32_t ratio = 0;
    std::vector<std::int32_t> refusedKhz;  // in the order given
    std::size_t reached = 0;
};

// All 64 combinations, those that reach the most frequencies first, then the larger ratio, then
// R0, R1 and R2 by their value. The modulator and test settings never change an acceptance.
std::vector<RasterRow> PrescalerRaster(std::int32_t crystalHz,
                                       std::span<const std::int32_t> frequenciesKhz);

}  // namespace vx40
