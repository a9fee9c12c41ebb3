// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "channel/ChannelTable.h"
#include "channel/DividerCalculation.h"
#include "channel/FrequencyPlan.h"

namespace vx40::tool {

// Every channel of the plan file at path ("-": standard input), read as a stream, to onChannel,
// every refusal to offending; the unreadable input for a plan that cannot be read.
Status ReadPlanInput(const std::string& path, const PlanReader::ChannelHandler& onChannel,
                     OffendingLines& offending);

// The frequencies of a plan's text, and the same of the plan file at path ("-": standard input),
// read as a stream.
using vx40::ReadPlanFrequencies;
Result<PlanFrequencies> ReadPlanFrequencies(const std::string& path);

// One channel of a plan calculated into its row of the table with the inputs (their frequency
// aside) and the ratio they give: the frequency, the parts and the nibbles, or for a refused
// frequency the refusal's row and its message with the nearest achievable frequencies in
// offending.
void CalculatePlannedChannel(const PlannedChannel& planned, std::int32_t ratio,
                             CalculationInputs inputs, ChannelTable& table,
                             OffendingLines& offending);

// A plan's text calculated into the table so; channels the plan does not list stay as they are.
// The ratio is worked out first, so a failure of the settings (DivisionFailure) comes before any
// line is looked at. Returns how many channels the plan names.
int CalculatePlanText(std::string_view text, const CalculationInputs& inputs, ChannelTable& table,
                      OffendingLines& offending);

}  // namespace vx40::tool
