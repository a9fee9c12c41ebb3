// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageOutput.h"

#include <cerrno>

#include "files/BinImage.h"
#include "files/FileFailureText.h"
#include "files/ImageWriter.h"
#include "tools/InputFile.h"
#include "tools/ToolApplication.h"
#include "tools/ToolFailure.h"

namespace vx40::tool {

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
    const std::string bytes = EncodedImage(*image, format);
    errno = 0;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
        return CommandFailure(OutputFailureText());
    }
    return {};
}

}  // namespace vx40::tool
