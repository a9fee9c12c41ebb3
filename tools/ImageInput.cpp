#include "tools/ImageInput.h"

#include <algorithm>

#include "files/EpromFormats.h"
#include "tools/InputFile.h"

namespace vx40::tool {

std::optional<BinImage> ReadImageInput(const std::string& path, std::ostream& err) {
    CheckInputReadable(path, ReadableFiles::AnyExceptDirectories);
    const BinImageParse read = ReadImageFile(path);
    if (!read.Accepted()) {
        // The message dialog starts a new line at each carriage return; a terminal needs a line
        // feed for that.
        std::string message = ImageRefusalMessage(read);
        std::replace(message.begin(), message.end(), '\r', '\n');
        err << message << '\n';
        return std::nullopt;
    }
    return read.image;
}

}  // namespace vx40::tool
