// SPDX-License-Identifier: GPL-3.0-or-later
#include <optional>

#include <CLI/App.hpp>

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

Result<int> RunShow(const ReadArguments& arguments, std::ostream& out, std::ostream& /*err*/) {
    const Result<ChannelTable> table = LoadChannelSetInput(arguments.inputPath);
    if (!table) {
        return table.Error();
    }
    PrintChannelTable(out, *table, arguments.csv);
    return kExitSuccess;
}

void DeclareShow(CLI::App& command, ReadArguments& arguments) {
    AddCsvFlag(command, arguments.csv);
    command.add_option("IN.vx4", arguments.inputPath, "die Kanaldatei")->required()->type_name("");
}

}  // namespace

ToolCommand ShowCommand() {
    return CommandOf("show", "die 16 Kanäle einer Kanaldatei zeigen", "[--csv] IN.vx4", DeclareShow,
                     RunShow);
}

}  // namespace vx40::tool
