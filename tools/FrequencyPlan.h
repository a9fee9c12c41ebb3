// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "base/Result.h"
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

}  // namespace vx40::tool
