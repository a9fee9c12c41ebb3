// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageOutput.h"

#include <cerrno>

#include "files/BinImage.h"
#include "files/FileFailureText.h"
#include "files/ImageWriter.h"
#include "os/FileReplace.h"
#include "tools/InputFile.h"
#include "tools/ToolApplication.h"
#include "tools/ToolFailure.h"

namespace vx40::tool {

Status WriteOutput(const std::string& path, std::string_view content, std::ostream& out) {
    if (!IsStandardStream(path)) {
        if (const Status replaced = ReplaceFile(path, content, SyncToDisk::Yes); !replaced.Ok()) {
            return CommandFailure(FileWriteFailureMessage(path, replaced));
        }
        return {};
    }
    errno = 0;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) {
        return CommandFailure(OutputFailureText());
    }
    return {};
}

Status WriteImageOutput(const ChannelTable& table, const std::string& path, ImageFormat format,
                        std::ostream& out) {
    if (!IsStandardStream(path)) {
        const Status written = WriteImageFile(table, path, format);
        if (!written && written.Error().kind != FailureKind::InvalidNibbleCell) {
            return CommandFailure(ImageFailureText(written.Error(), path));
        }
        return written;
    }
    const Result<BinImage> image = BuildBinImage(table);
    if (!image) {
        return image.Error();
    }
    return WriteOutput(path, EncodedImage(*image, format), out);
}

}  // namespace vx40::tool
