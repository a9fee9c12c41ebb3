// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/BinRead.h"

#include "files/FileFailureText.h"

namespace vx40 {

std::optional<std::string> ApplyBinRead(ChannelTable& table, const Result<BinImage>& read,
                                        const std::string& path) {
    if (!read) {
        return ImageFailureText(read.Error(), path);
    }
    ApplyBinImage(table, *read);
    return std::nullopt;
}

}  // namespace vx40
