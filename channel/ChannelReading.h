// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "channel/NibbleLayout.h"
#include "channel/Prescalers.h"

namespace vx40 {

// What a channel's data nibbles say by themselves: the prescalers they select, and the frequency
// that these give with the crystal, ratio * N.
struct ChannelReading {
    PrescalerEntry r0;
    PrescalerEntry r1;
    PrescalerEntry r2;
    std::int32_t ratio = 0;
    std::int32_t n = 0;
    std::int64_t frequencyHz = 0;
    bool modulator = false;
    std::int32_t testNibble = 0;
};

// How a channel without a reading is shown.
inline constexpr std::string_view kEmptyChannelText = "leer";

// The reading of nibbles D0 to D7 (values 0 to 15) with the crystal; none for a channel whose
// eight nibbles are all 0F, which was never calculated or was refused.
std::optional<ChannelReading> ReadChannel(const NibbleValues& nibbles, std::int32_t crystalHz);

}  // namespace vx40
