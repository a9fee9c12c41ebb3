// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "files/BinImage.h"

namespace vx40::tool {

// Reads the image of path as decode does: an unreadable input raises ToolError; a refused image
// prints its refusal on err and gives none.
std::optional<BinImage> ReadImageInput(const std::string& path, std::ostream& err);

}  // namespace vx40::tool
