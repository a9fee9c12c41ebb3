// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/Result.h"
#include "channel/ChannelTable.h"
#include "files/ImageFormats.h"

namespace vx40 {

// Writes the image of the table to path in the format, replacing the file whole and flushing it
// to the disk. A table with an invalid data-nibble cell writes nothing at all (the failure of
// BuildBinImage), and a failed write leaves an existing file exactly as it was (the replace's
// failure); ImageFailureText says what happened.
Status WriteImageFile(const ChannelTable& table, const std::string& path, ImageFormat format);

// Writes bytes from address 0, the image or a whole chip (ChipBytesOfTable), as WriteImageFile
// writes the image.
Status WriteImageBytesFile(std::span<const std::uint8_t> bytes, const std::string& path,
                           ImageFormat format);

}  // namespace vx40
