// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "base/Result.h"

namespace vx40::tool {

// How the tool reports a failure. A refusal of data (exit code 1) stands alone on standard error;
// a failure of the call (exit code 2) is named with the tool, and a wrong call is followed by the
// command's usage line.
struct FailureReport {
    std::string message;
    int exitCode = 0;
    bool usageFollows = false;
};

// The one report of every failure a command ends with:
// - an input that cannot be read (ReadFailed; detail: the path as given) and CallRefused: exit
//   code 2, the usage follows;
// - a file without channels (NoChannelSet; detail: the path), a refused image and InputRefused:
//   exit code 1;
// - CommandFailed and every other kind: exit code 2.
FailureReport ToolFailureReport(const Failure& failure);

// Failures of the tool's own kinds, their message composed by the caller.
Failure CallRefusal(std::string message);
Failure CommandFailure(std::string message);

}  // namespace vx40::tool
