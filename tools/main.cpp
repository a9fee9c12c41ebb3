// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>

#include "os/FileReplace.h"
#include "os/StandardStreams.h"
#include "tools/ToolApplication.h"

int main(int argc, char** argv) {
    vx40::TakeClosedStandardStreams();
    vx40::IgnoreFileSizeLimitSignal();
    return vx40::tool::RunTool(argc, argv, std::cout, std::cerr);
}
