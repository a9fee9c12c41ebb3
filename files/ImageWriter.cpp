// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ImageWriter.h"

#include "files/BinImage.h"
#include "os/FileReplace.h"

namespace vx40 {

Status WriteImageFile(const ChannelTable& table, const std::string& path, ImageFormat format) {
    const Result<BinImage> image = BuildBinImage(table);
    if (!image) {
        return image.Error();
    }
    return WriteImageBytesFile(*image, path, format);
}

Status WriteImageBytesFile(std::span<const std::uint8_t> bytes, const std::string& path,
                           ImageFormat format) {
    return ReplaceFile(path, EncodedBytes(bytes, format), SyncToDisk::Yes);
}

}  // namespace vx40
