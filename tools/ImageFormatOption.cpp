// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageFormatOption.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vx40::tool {
namespace {

constexpr std::array<std::pair<std::string_view, ImageFormat>, 3> kFormatNames = {{
    {"bin", ImageFormat::Bin},
    {"ihex", ImageFormat::IntelHex},
    {"srec", ImageFormat::SRecord},
}};

std::optional<ImageFormat> FormatNamed(std::string_view name) {
    for (const auto& [text, format] : kFormatNames) {
        if (text == name) {
            return format;
        }
    }
    return std::nullopt;
}

}  // namespace

void AddImageFormatOption(CLI::App& command, ImageFormat& format) {
    command
        .add_option_function<std::string>(
            "--format", [&format](const std::string& name) { format = *FormatNamed(name); },
            "das Format des Abbilds: bin (Vorgabe), ihex (Intel HEX) oder srec (S-Records)")
        ->type_name("FORMAT")
        ->check(CLI::Validator(
            [](std::string& name) -> std::string {
                return FormatNamed(name) ? std::string()
                                         : "\"" + name + "\" ist kein Format: bin, ihex oder srec";
            },
            "", "format"));
}

}  // namespace vx40::tool
