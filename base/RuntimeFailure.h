// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vx40 {

// The failures the runtime raises inside a handler: a text that is no integer, a division by
// zero, a failed write to an INI file. Each carries its exact message; the window's failure
// report shows it, so no other code formats these texts.
class RuntimeFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class ConversionFailure : public RuntimeFailure {
  public:
    explicit ConversionFailure(const std::string& text)
        : RuntimeFailure("'" + text + "' is not a valid integer value") {}
};

class DivisionFailure : public RuntimeFailure {
  public:
    DivisionFailure() : RuntimeFailure("Division by zero") {}
};

class IniWriteFailure : public RuntimeFailure {
  public:
    explicit IniWriteFailure(const std::string& path)
        : RuntimeFailure("Unable to write to " + path) {}
};

// The text the failure report shows for a failure's message: a "." is appended when the message's
// last character sorts after "." in byte order, so "Division by zero" reads "Division by zero."
// while a message ending in "." or ")" stays as it is.
inline std::string FailureReportText(std::string_view message) {
    std::string text(message);
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        text += '.';
    }
    return text;
}

}  // namespace vx40
