// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageInput.h"

#include <algorithm>

#include "files/FileFailureText.h"
#include "files/ImageReader.h"
#include "tools/InputFile.h"

namespace vx40::tool {

Result<BinImage> ReadImageInput(const std::string& path) {
    Result<BinImage> read = ReadImageFile(InputReadPath(path), ReadableFiles::AnyWaitingForInput);
    if (!read && read.Error().kind == FailureKind::ReadFailed) {
        RefuseUnreadableInput(path, read.Error().error);
    }
    return read;
}

std::string ImageRefusalText(const Failure& failure, const std::string& path) {
    std::string message = ImageFailureText(failure, path);
    std::replace(message.begin(), message.end(), '\r', '\n');
    return message;
}

}  // namespace vx40::tool
