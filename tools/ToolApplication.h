// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>

namespace vx40::tool {

// The name that starts every line the tool writes to standard error about itself.
inline constexpr const char* kToolName = "vx40-tool";

// The whole tool: parses the call, runs the command, reports failures; returns the exit code.
// Output that did not reach out, at the end or on the way, is a failure of its own (exit code 2).
int RunTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// "die Ausgabe konnte nicht geschrieben werden: <reason>" for standard output that failed, the
// reason taken from errno as the failed write left it (set errno to 0 before the writes).
std::string OutputFailureText();

}  // namespace vx40::tool
