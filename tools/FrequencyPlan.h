// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "channel/ChannelTable.h"
#include "channel/DividerCalculation.h"
#include "channel/FrequencyPlan.h"

namespace vx40::tool {

// The frequencies of a plan's text, and the same of the plan file at path ("-": standard input),
// read as a stream.
using vx40::ReadPlanFrequencies;
Result<PlanFrequencies> ReadPlanFrequencies(const std::string& path);

// A plan calculated into the table with the inputs (their frequency aside): each channel it
// names gets its frequency, parts and nibbles, or for a refused frequency the refusal's row and,
// in offending, its message with the nearest achievable frequencies; channels the plan does not
// name stay as they are. The ratio is worked out first, so a failure of the settings
// (DivisionFailure) comes before feed hands the plan's bytes to the reader. Returns how many
// channels the plan names.
int CalculatePlan(const CalculationInputs& inputs, ChannelTable& table, OffendingLines& offending,
                  const std::function<void(PlanReader&)>& feed);
// The same of a plan's text.
int CalculatePlanText(std::string_view text, const CalculationInputs& inputs, ChannelTable& table,
                      OffendingLines& offending);

}  // namespace vx40::tool
