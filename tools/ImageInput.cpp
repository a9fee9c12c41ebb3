// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageInput.h"

#include <algorithm>

#include "files/EpromFormats.h"
#include "tools/InputFile.h"

namespace vx40::tool {

BinImageParse ReadImageInput(const std::string& path) {
    const ImageFileRead read =
        ReadImageStream(InputReadPath(path), ReadableFiles::AnyWaitingForInput);
    if (!read.read.Ok()) {
        RefuseUnreadableInput(path, read.read.Error().error);
    }
    return read.image;
}

std::string ImageRefusalText(const BinImageParse& read) {
    std::string message = ImageRefusalMessage(read);
    std::replace(message.begin(), message.end(), '\r', '\n');
    return message;
}

}  // namespace vx40::tool
