// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolCommand.h"

#include <CLI/App.hpp>

namespace vx40::tool {

void AddCsvFlag(CLI::App& command, bool& csv) {
    command.add_flag("--csv", csv, "durch Kommas getrennt ausgeben");
}

}  // namespace vx40::tool
