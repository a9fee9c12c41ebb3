// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "base/Result.h"
#include "channel/ChannelTable.h"
#include "files/BinImage.h"

namespace vx40 {

// "Bin Datei einlesen" once the file's content is read (ReadImage or ReadImageFile with
// ImageContent::BinOnly): a refused image changes no cell, since the table may hold unsaved
// work, and gives the message for the message dialog (ImageFailureText naming path); an accepted
// one sets the data nibbles of every channel and gives none.
std::optional<std::string> ApplyBinRead(ChannelTable& table, const Result<BinImage>& read,
                                        const std::string& path);

}  // namespace vx40
