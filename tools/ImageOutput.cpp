// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageOutput.h"

#include <cerrno>
#include <cstdint>
#include <vector>

#include "files/FileFailureText.h"
#include "files/ImageWriter.h"
#include "os/FileReplace.h"
#include "tools/ChipOptions.h"
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
                        const ChipLayout& layout, std::ostream& out, std::ostream& err) {
    const Result<std::vector<std::uint8_t>> chip = ChipBytesOfTable(table, layout);
    if (!chip) {
        return chip.Error();
    }
    if (!IsStandardStream(path)) {
        if (const Status written = WriteImageBytesFile(*chip, path, format); !written) {
            return CommandFailure(ImageFailureText(written.Error(), path));
        }
    } else if (const Status written = WriteOutput(path, EncodedBytes(*chip, format), out);
               !written) {
        return written;
    }
    PrintChecksumLine(err, path, true, *chip);
    return {};
}

}  // namespace vx40::tool
