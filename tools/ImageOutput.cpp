// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageOutput.h"

#include <cerrno>

#include "files/BinFile.h"
#include "tools/InputFile.h"
#include "tools/ToolApplication.h"
#include "tools/ToolError.h"

namespace vx40::tool {

BinWriteResult WriteImageOutput(const ChannelTable& table, const std::string& path,
                                ImageFormat format, std::ostream& out) {
    if (!IsStandardStream(path)) {
        return WriteImageFile(table, path, format);
    }
    BinWriteResult result;
    const BinImageBuild build = BuildBinImage(table);
    if (!build.image) {
        result.outcome = BinWriteOutcome::InvalidCell;
        result.invalidCell = build.invalidCell;
        result.message = InvalidNibbleCellMessage(*build.invalidCell);
        return result;
    }
    const std::string bytes = EncodedImage(*build.image, format);
    errno = 0;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
        throw ToolError(OutputFailureText(), false);
    }
    return result;
}

}  // namespace vx40::tool
