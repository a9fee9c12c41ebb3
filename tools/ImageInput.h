// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "files/BinImage.h"

namespace vx40::tool {

// Reads the image of path in any of the three formats as a program reads its input: a pipe or
// FIFO is opened once and waited for, "-" is standard input. An unreadable input raises ToolError;
// a refused image is returned with its fault.
BinImageParse ReadImageInput(const std::string& path);

// The refusal of an image as a terminal shows it: where the message dialog starts a new line at a
// carriage return, a line feed.
std::string ImageRefusalText(const BinImageParse& read);

}  // namespace vx40::tool
