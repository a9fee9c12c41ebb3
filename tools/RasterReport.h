// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "channel/PrescalerRaster.h"

namespace vx40::tool {

// The raster as a table: R0, R1, R2, the ratio, how many of the frequencies it reaches and those
// it refuses.
std::string RasterReportText(const std::vector<RasterRow>& rows, bool csv);

}  // namespace vx40::tool
