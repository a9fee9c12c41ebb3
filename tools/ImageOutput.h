// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "channel/ChannelTable.h"
#include "files/ChipImage.h"
#include "files/ImageFormats.h"

namespace vx40::tool {

// Writes content to the file at path, replacing it whole, or for "-" to out. A write that failed
// is CommandFailed, named with its file; standard output that does not take all of it fails so
// too.
Status WriteOutput(const std::string& path, std::string_view content, std::ostream& out);

// Writes the image of the table, placed in the chip of the layout, in the format as
// WriteImageBytesFile does, or for "-" to out, with the refusal of an invalid cell as
// BuildBinImage gives it. A write that failed is CommandFailed, named with its file; standard
// output that does not take the image fails so too, so that nothing written after it describes an
// image that never arrived. Once written, the checksums of the chip's bytes go to err.
Status WriteImageOutput(const ChannelTable& table, const std::string& path, ImageFormat format,
                        const ChipLayout& layout, std::ostream& out, std::ostream& err);

}  // namespace vx40::tool
