// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <variant>

#include "base/Result.h"
#include "channel/ChannelTable.h"
#include "files/BinImage.h"

namespace vx40::tool {

// Reads the image of path in any format as a program reads its input: a pipe or FIFO is opened
// once and waited for, "-" is standard input. Fails as the unreadable input (UnreadableInput) or
// as the image's refusal.
Result<BinImage> ReadImageInput(const std::string& path);

// What an input holds, told by its content: a channel-set file (one that holds any of the
// sections Wert1 to Wert16) or an image in any format. The input is read whole, "-" as standard
// input. An input that is neither fails as the image's refusal, or as NoChannelSet with the path
// where its name ends in ".vx4".
Result<std::variant<ChannelTable, BinImage>> ReadTableOrImageInput(const std::string& path);

}  // namespace vx40::tool
