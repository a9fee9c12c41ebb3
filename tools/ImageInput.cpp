// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageInput.h"

#include "files/ImageReader.h"
#include "tools/InputFile.h"

namespace vx40::tool {

Result<BinImage> ReadImageInput(const std::string& path) {
    const Result<std::string> readPath = InputReadPath(path);
    if (!readPath) {
        return readPath.Error();
    }
    Result<BinImage> read = ReadImageFile(*readPath, ReadableFiles::AnyWaitingForInput);
    if (!read && read.Error().kind == FailureKind::ReadFailed) {
        return UnreadableInput(path, read.Error().error);
    }
    return read;
}

}  // namespace vx40::tool
