// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace CLI {
class ParseError;
}

namespace vx40::tool {

// The one-line German message for a call that the argument parser refused. unparsed holds the
// arguments it could not place; commandGiven says whether a command was recognised.
std::string UsageErrorText(const CLI::ParseError& error, const std::vector<std::string>& unparsed,
                           bool commandGiven);

}  // namespace vx40::tool
