// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"
#include "files/BinImage.h"
#include "tools/ChipOptions.h"

namespace vx40::tool {

// An image as a command read it: the 128 bytes, and every data byte of the input that its
// checksums cover (the whole chip where one was read, otherwise the 128 bytes).
struct ImageRead {
    BinImage image{};
    std::vector<std::uint8_t> bytes;
};

// Reads the image of path in any format as a program reads its input: a pipe or FIFO is opened
// once and waited for, "-" is standard input. With an offset, as a whole chip whose 128 bytes at
// the offset are the image (ReadChipImageFile, ImageInChip). Fails as the unreadable input
// (UnreadableInput) or as the image's refusal.
Result<ImageRead> ReadImageInput(const std::string& path, const ChipReading& reading = {});

}  // namespace vx40::tool
