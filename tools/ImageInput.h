// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "base/Result.h"
#include "files/BinImage.h"

namespace vx40::tool {

// Reads the image of path in any format as a program reads its input: a pipe or FIFO is opened
// once and waited for, "-" is standard input. An unreadable input raises ToolError; a refused
// image is returned as its failure.
Result<BinImage> ReadImageInput(const std::string& path);

// The text of an image's failure as a terminal shows it: where the message dialog starts a new
// line at a carriage return, a line feed.
std::string ImageRefusalText(const Failure& failure, const std::string& path);

}  // namespace vx40::tool
