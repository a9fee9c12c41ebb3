// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>

#include <CLI/App.hpp>
#include <CLI/Formatter.hpp>

namespace vx40::tool {

// The help in German, each command's usage line written as scripts call it.
class ToolFormatter : public CLI::Formatter {
  public:
    ToolFormatter();

    void SetUsage(const CLI::App* command, std::string usage);
    // "Aufruf: " and the command's usage line, ending in a line break.
    std::string UsageLine(const CLI::App* command) const;

    std::string make_usage(const CLI::App* app, std::string name) const override;

  private:
    std::map<const CLI::App*, std::string> usages_;
};

}  // namespace vx40::tool
