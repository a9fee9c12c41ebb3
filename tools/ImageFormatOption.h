// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "files/ImageFormats.h"

namespace CLI {
class App;
}

namespace vx40::tool {

// The form an output file's name asks for by its ending in the table of formats, without regard
// to letter case (".hex" Intel HEX, ".s19" S-records, ...); any other ending bin.
ImageFormat ImageFormatForPath(std::string_view path);

// "--format bin|ihex|srec": the form in which the image goes to outputPath. Without the option,
// the ending of outputPath chooses it as ImageFormatForPath does; the option always wins.
void AddImageFormatOption(CLI::App& command, ImageFormat& format, const std::string& outputPath);

}  // namespace vx40::tool
