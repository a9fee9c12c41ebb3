// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace vx40::tool {

// A failure that ends the command with exit code 2: a wrong argument or an unreadable input (the
// usage follows the message), or a file that cannot be written (the message alone).
class ToolError : public std::runtime_error {
  public:
    ToolError(const std::string& message, bool showUsage)
        : std::runtime_error(message), showUsage_(showUsage) {}

    bool ShowUsage() const { return showUsage_; }

  private:
    bool showUsage_;
};

// Input whose data the command refuses: the message alone on standard error, exit code 1.
class ToolRefusal : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace vx40::tool
