// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolFormatter.h"

namespace vx40::tool {

ToolFormatter::ToolFormatter() {
    label("Usage", "Aufruf");
    label("OPTIONS", "OPTIONEN");
    label("SUBCOMMAND", "BEFEHL");
    label("Positionals", "Argumente");
    label("REQUIRED", "(Pflicht)");
    label("TEXT", "TEXT");
}

void ToolFormatter::SetUsage(const CLI::App* command, std::string usage) {
    usages_[command] = std::move(usage);
}

std::string ToolFormatter::UsageLine(const CLI::App* command) const {
    const auto found = usages_.find(command);
    if (found == usages_.end()) {
        return CLI::Formatter::make_usage(command, command->get_name());
    }
    return get_label("Usage") + ": " + found->second + "\n";
}

std::string ToolFormatter::make_usage(const CLI::App* app, std::string /*name*/) const {
    return UsageLine(app);
}

}  // namespace vx40::tool
