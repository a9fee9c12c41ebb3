#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "channel/DividerCalculation.h"

namespace vx40::tool {

// A number as scripts write it (a frequency in kHz, the crystal in Hz): a decimal integer, "-"
// before a negative one, nothing else around it, within the signed 32-bit range.
std::optional<std::int32_t> ParseDecimalInt32(std::string_view text);

// "798400 kHz: Frequenz nicht berechenbar" and the nearest achievable frequencies in parentheses,
// those that exist.
std::string RefusalText(std::int32_t frequencyKhz, const NearestFrequencies& nearest);

}  // namespace vx40::tool
