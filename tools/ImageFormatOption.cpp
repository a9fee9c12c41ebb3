// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageFormatOption.h"

#include <memory>
#include <optional>

#include "text/CharacterRules.h"

#include <CLI/App.hpp>

namespace vx40::tool {
namespace {

std::optional<ImageFormat> FormatNamed(std::string_view name) {
    for (const ImageFormatEntry& entry : ImageFormatTable()) {
        if (entry.name == name) {
            return entry.format;
        }
    }
    return std::nullopt;
}

// "a, b oder c" of the formats' names, each followed by its shown name where that differs.
std::string FormatNamesText(bool withShownNames) {
    const auto formats = ImageFormatTable();
    std::string text;
    for (std::size_t i = 0; i < formats.size(); ++i) {
        text += i == 0 ? "" : i + 1 == formats.size() ? " oder " : ", ";
        text += formats[i].name;
        if (withShownNames && formats[i].shown != formats[i].name) {
            text += " (" + std::string(formats[i].shown) + ")";
        }
    }
    return text;
}

// "ohne --format nach der Endung: .hex, .ihx, .ihex Intel HEX; .srec, ... S-Records; sonst bin"
std::string EndingsText() {
    std::string text = "ohne --format nach der Endung von OUT:";
    for (const ImageFormatEntry& entry : ImageFormatTable()) {
        std::string endings;
        for (const std::string_view ending : entry.endings) {
            endings += (endings.empty() ? " " : ", ") + std::string(ending);
        }
        if (!endings.empty()) {
            text += endings + " " + std::string(entry.shown) + ";";
        }
    }
    return text + " sonst bin";
}

}  // namespace

ImageFormat ImageFormatForPath(std::string_view path) {
    const std::string lowered = AsciiLowered(path);
    for (const ImageFormatEntry& entry : ImageFormatTable()) {
        for (const std::string_view ending : entry.endings) {
            if (std::string_view(lowered).ends_with(ending)) {
                return entry.format;
            }
        }
    }
    return ImageFormat::Bin;
}

void AddImageFormatOption(CLI::App& command, ImageFormat& format, const std::string& outputPath) {
    const auto chosen = std::make_shared<std::optional<ImageFormat>>();
    command
        .add_option_function<std::string>(
            "--format", [chosen](const std::string& name) { *chosen = FormatNamed(name); },
            "das Format des Abbilds: " + FormatNamesText(true) + "; " + EndingsText())
        ->type_name("FORMAT")
        ->check(CLI::Validator(
            [](std::string& name) -> std::string {
                return FormatNamed(name)
                           ? std::string()
                           : "\"" + name + "\" ist kein Format: " + FormatNamesText(false);
            },
            "", "format"));
    // Runs once the whole command line is parsed, when the output's name is known.
    command.final_callback([chosen, &format, &outputPath] {
        format = chosen->value_or(ImageFormatForPath(outputPath));
    });
}

}  // namespace vx40::tool
