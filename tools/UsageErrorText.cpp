// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/UsageErrorText.h"

#include <string_view>

#include <CLI/Error.hpp>

#include "text/ShownText.h"

namespace vx40::tool {
namespace {

// The parser's messages name the option before ": " or " is required"; the German text takes
// the names from there.
std::string Before(std::string_view text, std::string_view marker) {
    const auto pos = text.find(marker);
    return std::string(text.substr(0, pos == std::string_view::npos ? text.size() : pos));
}

std::string After(std::string_view text, std::string_view marker) {
    const auto pos = text.find(marker);
    return pos == std::string_view::npos ? std::string(text)
                                         : std::string(text.substr(pos + marker.size()));
}

std::string Joined(const std::vector<std::string>& arguments) {
    std::string text;
    for (const auto& argument : arguments) {
        text += (text.empty() ? "" : " ") + argument;
    }
    return text;
}

std::string UnexpectedText(const std::string& first, const std::string& all, bool commandGiven) {
    if (first.starts_with('-')) {
        return "unbekannte Option: " + all;
    }
    return (commandGiven ? "überzähliges Argument: " : "unbekannter Befehl: ") + all;
}

std::string ParserErrorText(const CLI::ParseError& error, const std::vector<std::string>& unparsed,
                            bool commandGiven) {
    const std::string_view what = error.what();
    if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) {
        if (unparsed.empty()) {
            const std::string all = After(what, ": ");
            return UnexpectedText(all, all, commandGiven);
        }
        return UnexpectedText(unparsed.front(), Joined(unparsed), commandGiven);
    }
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) {
        if (what.starts_with("A subcommand")) {
            if (!unparsed.empty()) {
                return UnexpectedText(unparsed.front(), Joined(unparsed), false);
            }
            return "kein Befehl angegeben";
        }
        return "Argument fehlt: " + Before(what, " is required");
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) {
        if (what.starts_with("Expected")) {
            return "Wert fehlt: " + Before(After(what, " arguments to "), ",");
        }
        return "Wert fehlt: " + Before(what, ":");
    }
    if (dynamic_cast<const CLI::ConversionError*>(&error) != nullptr) {
        if (what.starts_with("Could not convert: ")) {
            const std::string conversion = After(what, "Could not convert: ");
            return "ungültiger Wert für " + Before(conversion, " = ") + ": " +
                   After(conversion, " = ");
        }
        return "ungültiger Wert für " + Before(what, ":");
    }
    if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr) {
        return std::string(what);
    }
    return "ungültiger Aufruf: " + std::string(what);
}

}  // namespace

std::string UsageErrorText(const CLI::ParseError& error, const std::vector<std::string>& unparsed,
                           bool commandGiven) {
    // The parser's messages repeat the arguments as they were given.
    return ShownText(ParserErrorText(error, unparsed, commandGiven));
}

}  // namespace vx40::tool
