// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace vx40::cli_test {

using Arguments = std::vector<std::string>;

struct ToolOutput {
    int exitCode = -1;  // -1: the tool did not end normally
    std::string out;
    std::string err;
};

// Whether the tool under test is the Windows build, run under Wine (VX40_TOOL_EXE names it). A
// case that needs POSIX (signals, FIFOs, permission bits, links, a closed stream) skips then.
bool WindowsBuild();

// The words that start a Windows program under the emulator (VX40_TOOL_EMULATOR, separated by
// ";"); none for the tool of this system.
std::vector<std::string> EmulatorCommand();

// Runs the built vx40-tool with the arguments and with extra environment entries ("NAME=value"),
// and collects everything it writes to standard output and standard error. Its standard input is
// standardInput when given, otherwise the test's own. Every signal the tool may meet runs as it
// would from a shell, whatever the test ignores itself.
ToolOutput RunTool(const Arguments& arguments, const std::vector<std::string>& environment = {},
                   int standardInput = -1);

// Runs the tool as RunTool does, but with standardOutput as its standard output (closed when it
// is -1), so out stays empty; with the pipe signal ignored when asked, as a shell with
// "trap '' PIPE" starts it.
ToolOutput RunToolWithOutput(const Arguments& arguments, int standardOutput,
                             bool pipeSignalIgnored = false, int standardInput = -1);

}  // namespace vx40::cli_test
