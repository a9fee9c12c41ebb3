// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "channel/ChannelTable.h"
#include "files/ImageFormats.h"

namespace vx40::tool {

// Writes content to the file at path, replacing it whole, or for "-" to out. A write that failed
// is CommandFailed, named with its file; standard output that does not take all of it fails so
// too.
Status WriteOutput(const std::string& path, std::string_view content, std::ostream& out);

// Writes the image of the table in the format as WriteImageFile does, or for "-" to out, with the
// same refusal of an invalid cell. A write that failed is CommandFailed, named with its file;
// standard output that does not take the image fails so too, so that nothing written after it
// describes an image that never arrived.
Status WriteImageOutput(const ChannelTable& table, const std::string& path, ImageFormat format,
                        std::ostream& out);

}  // namespace vx40::tool
