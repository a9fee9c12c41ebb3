// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>

#include "base/Result.h"
#include "channel/ChannelTable.h"
#include "files/ImageFormats.h"

namespace vx40::tool {

// Writes the image of the table in the format as WriteImageFile does, or for "-" to out, with the
// same refusal of an invalid cell. A write that failed is CommandFailed, named with its file;
// standard output that does not take the image fails so too, so that nothing written after it
// describes an image that never arrived.
Status WriteImageOutput(const ChannelTable& table, const std::string& path, ImageFormat format,
                        std::ostream& out);

}  // namespace vx40::tool
