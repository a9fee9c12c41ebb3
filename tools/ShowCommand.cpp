// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>
#include <optional>

#include "tools/ExitCode.h"
#include "tools/InputFile.h"
#include "tools/TableOutput.h"
#include "tools/ToolCommand.h"

namespace vx40::tool {
namespace {

struct ReadArguments {
    bool csv = false;
    std::string inputPath;
};

int RunShow(const ReadArguments& arguments, std::ostream& out, std::ostream& /*err*/) {
    PrintChannelTable(out, LoadChannelSetInput(arguments.inputPath), arguments.csv);
    return kExitSuccess;
}

}  // namespace

ToolCommand ShowCommand() {
    return {"show", "die 16 Kanäle einer Kanaldatei zeigen", "[--csv] IN.vx4",
            [](CLI::App& command) -> CommandRun {
                auto arguments = std::make_shared<ReadArguments>();
                command.add_flag("--csv", arguments->csv, "durch Kommas getrennt ausgeben");
                command.add_option("IN.vx4", arguments->inputPath, "die Kanaldatei")
                    ->required()
                    ->type_name("");
                return [arguments](std::ostream& out, std::ostream& err) {
                    return RunShow(*arguments, out, err);
                };
            }};
}

}  // namespace vx40::tool
