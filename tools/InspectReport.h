// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "files/BinImage.h"

namespace vx40::tool {

// What an image says of itself, channel by channel: its prescalers, ratio, N, the true frequency
// from its own codes, modulator and test nibble ("leer" for an empty channel), as a table.
std::string InspectReportText(const BinImage& image, std::int32_t crystalHz, bool csv);

}  // namespace vx40::tool
