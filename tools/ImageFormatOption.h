// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/App.hpp>

#include "files/EpromFormats.h"

namespace vx40::tool {

// "--format bin|ihex|srec": the form in which an image is written (bin by default).
void AddImageFormatOption(CLI::App& command, ImageFormat& format);

}  // namespace vx40::tool
