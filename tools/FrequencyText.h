// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "channel/CellText.h"
#include "channel/DividerCalculation.h"
#include "text/IntegerConversion.h"

namespace vx40::tool {

// The frequencies of the command line, each by ParseDecimalInt32; CallRefused for the first that
// is none.
Result<std::vector<std::int32_t>> ParseFrequencyArguments(const std::vector<std::string>& texts);

// "798400 kHz: Frequenz nicht berechenbar" and the nearest achievable frequencies in parentheses,
// those that exist.
std::string RefusalText(std::int32_t frequencyKhz, const NearestFrequencies& nearest);

}  // namespace vx40::tool
