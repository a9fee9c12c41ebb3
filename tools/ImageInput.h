// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "base/Result.h"
#include "channel/ChannelTable.h"
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

// What an input holds, told by its content: a channel-set file (one that holds any of the
// sections Wert1 to Wert16) or an image in any format. The input is read whole, "-" as standard
// input. An input that is neither fails as the image's refusal, or as NoChannelSet with the path
// where its name ends in ".vx4".
Result<std::variant<ChannelTable, BinImage>> ReadTableOrImageInput(const std::string& path);

}  // namespace vx40::tool
