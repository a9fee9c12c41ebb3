// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <ostream>

#include <CLI/App.hpp>

namespace vx40::tool {

// What a command does once its arguments are parsed; returns the exit code. A wrong argument or
// a file error raises ToolError, a failure of the calculation or of an INI write a
// RuntimeFailure; the tool reports both.
using CommandRun = std::function<int(std::ostream& out, std::ostream& err)>;

// A command of the tool. setUp adds the command's arguments to its subcommand, bound to storage
// of its own, and returns the run that reads them.
struct ToolCommand {
    const char* name;
    const char* description;
    const char* usage;  // the arguments, as scripts write them
    CommandRun (*setUp)(CLI::App& command);
};

// One per file, each named for its command; the tool lists them in tools/ToolApplication.cpp.
ToolCommand CalcCommand();
ToolCommand PlanCommand();
ToolCommand DecodeCommand();
ToolCommand ShowCommand();
ToolCommand EncodeCommand();
ToolCommand RasterCommand();
ToolCommand InspectCommand();
ToolCommand DiffCommand();

}  // namespace vx40::tool
