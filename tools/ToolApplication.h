// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>

namespace vx40::tool {

// The whole tool: parses the call, runs the command, reports failures; returns the exit code.
int RunTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace vx40::tool
