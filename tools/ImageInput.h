// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "base/Result.h"
#include "files/BinImage.h"

namespace vx40::tool {

// Reads the image of path in any format as a program reads its input: a pipe or FIFO is opened
// once and waited for, "-" is standard input. Fails as the unreadable input (UnreadableInput) or
// as the image's refusal.
Result<BinImage> ReadImageInput(const std::string& path);

}  // namespace vx40::tool
