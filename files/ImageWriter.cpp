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
    return ReplaceFile(path, EncodedImage(*image, format), SyncToDisk::Yes);
}

}  // namespace vx40
