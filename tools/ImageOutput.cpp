// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageOutput.h"

#include <cerrno>
#include <cstdint>
#include <vector>

#include "files/FileFailureText.h"
#include "files/ImageWriter.h"
#include "tools/ChipOptions.h"
#include "tools/InputFile.h"
#include "tools/ToolApplication.h"
#include "tools/ToolFailure.h"

namespace vx40::tool {

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
    } else {
        const std::string bytes = EncodedBytes(*chip, format);
        errno = 0;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            return CommandFailure(OutputFailureText());
        }
    }
    PrintChecksumLine(err, path, true, *chip);
    return {};
}

}  // namespace vx40::tool
