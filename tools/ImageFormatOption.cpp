// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageFormatOption.h"

#include <array>
#include <memory>
#include <optional>
#include <utility>

#include <CLI/App.hpp>

namespace vx40::tool {
namespace {

struct FormatName {
    std::string_view name;
    ImageFormat format;
    std::string_view shown;  // how the help names the form
};

constexpr std::array<FormatName, 3> kFormatNames = {{
    {"bin", ImageFormat::Bin, "bin"},
    {"ihex", ImageFormat::IntelHex, "Intel HEX"},
    {"srec", ImageFormat::SRecord, "S-Records"},
}};

// The one list of the endings that choose a form; the help, the manual page and the completion
// name the same.
constexpr std::array<std::pair<std::string_view, ImageFormat>, 8> kFormatEndings = {{
    {".hex", ImageFormat::IntelHex},
    {".ihx", ImageFormat::IntelHex},
    {".ihex", ImageFormat::IntelHex},
    {".srec", ImageFormat::SRecord},
    {".s19", ImageFormat::SRecord},
    {".s28", ImageFormat::SRecord},
    {".s37", ImageFormat::SRecord},
    {".mot", ImageFormat::SRecord},
}};

std::optional<ImageFormat> FormatNamed(std::string_view name) {
    for (const auto& entry : kFormatNames) {
        if (entry.name == name) {
            return entry.format;
        }
    }
    return std::nullopt;
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size()) {
        return false;
    }
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    const std::string_view end = text.substr(text.size() - ending.size());
    for (std::size_t i = 0; i < ending.size(); ++i) {
        if (lower(end[i]) != ending[i]) {
            return false;
        }
    }
    return true;
}

// "ohne --format nach der Endung: .hex, .ihx, .ihex Intel HEX; .srec, ... S-Records; sonst bin"
std::string EndingsText() {
    std::string text = "ohne --format nach der Endung von OUT:";
    for (const auto& entry : kFormatNames) {
        std::string endings;
        for (const auto& [ending, format] : kFormatEndings) {
            if (format == entry.format) {
                endings += (endings.empty() ? " " : ", ") + std::string(ending);
            }
        }
        if (!endings.empty()) {
            text += endings + " " + std::string(entry.shown) + ";";
        }
    }
    return text + " sonst bin";
}

}  // namespace

ImageFormat ImageFormatForPath(std::string_view path) {
    for (const auto& [ending, format] : kFormatEndings) {
        if (EndsWithIgnoringCase(path, ending)) {
            return format;
        }
    }
    return ImageFormat::Bin;
}

void AddImageFormatOption(CLI::App& command, ImageFormat& format, const std::string& outputPath) {
    const auto chosen = std::make_shared<std::optional<ImageFormat>>();
    command
        .add_option_function<std::string>(
            "--format", [chosen](const std::string& name) { *chosen = FormatNamed(name); },
            "das Format des Abbilds: bin, ihex (Intel HEX) oder srec (S-Records); " + EndingsText())
        ->type_name("FORMAT")
        ->check(CLI::Validator(
            [](std::string& name) -> std::string {
                return FormatNamed(name) ? std::string()
                                         : "\"" + name + "\" ist kein Format: bin, ihex oder srec";
            },
            "", "format"));
    // Runs once the whole command line is parsed, when the output's name is known.
    command.final_callback([chosen, &format, &outputPath] {
        format = chosen->value_or(ImageFormatForPath(outputPath));
    });
}

}  // namespace vx40::tool
