// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <ostream>

#include "base/Result.h"

namespace CLI {
class App;
}

namespace vx40::tool {

// What a command does once its arguments are parsed: the exit code of a command that has printed
// its result, or the failure the tool reports (ToolFailure.h). A failure of the calculation or of
// an INI write raises a RuntimeFailure, which the tool reports too.
using CommandRun = std::function<Result<int>(std::ostream& out, std::ostream& err)>;

// A command of the tool. setUp adds the command's arguments to its subcommand, bound to storage
// of its own, and returns the run that reads them. Only the file of a command and the tool's
// application see the argument parser.
struct ToolCommand {
    const char* name;
    const char* description;
    const char* usage;  // the arguments, as scripts write them
    std::function<CommandRun(CLI::App& command)> setUp;
};

// A command whose arguments are held in an Arguments of its own: declare adds its options bound
// to them, run reads them once they are parsed.
template <class Arguments>
ToolCommand CommandOf(const char* name, const char* description, const char* usage,
                      void (*declare)(CLI::App& command, Arguments& arguments),
                      Result<int> (*run)(const Arguments& arguments, std::ostream& out,
                                         std::ostream& err)) {
    return {name, description, usage, [declare, run](CLI::App& command) -> CommandRun {
                const auto arguments = std::make_shared<Arguments>();
                declare(command, *arguments);
                return [arguments, run](std::ostream& out, std::ostream& err) {
                    return run(*arguments, out, err);
                };
            }};
}

// "--csv": the table as comma-separated values instead of aligned columns.
void AddCsvFlag(CLI::App& command, bool& csv);

// One per file, each named for its command.
ToolCommand CalcCommand();
ToolCommand PlanCommand();
ToolCommand DecodeCommand();
ToolCommand ShowCommand();
ToolCommand EncodeCommand();
ToolCommand RasterCommand();
ToolCommand InspectCommand();
ToolCommand DiffCommand();
ToolCommand SheetCommand();

// The one table of the commands, in the order the help lists them.
inline constexpr std::array kToolCommands = {CalcCommand,    PlanCommand,   DecodeCommand,
                                             ShowCommand,    EncodeCommand, RasterCommand,
                                             InspectCommand, DiffCommand,   SheetCommand};

}  // namespace vx40::tool
