// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

#include "channel/ChannelTable.h"

namespace vx40 {

// The value of a nibble text, 0 for any other text.
std::int32_t LowNibbleValue(std::string_view text);

// Recomputes N0, N1, N2 and the frequency (N * 12.5 kHz, the half dropped) of every channel row
// from its data nibbles, writing columns 1, 2, 3 and then 0 of each row. Never refuses.
void BackCalculateNFactors(ChannelTable& table);

}  // namespace vx40
