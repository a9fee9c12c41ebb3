// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageInput.h"

#include <algorithm>
#include <cstdint>
#include <span>

#include "files/EpromFormats.h"
#include "platform/FileRead.h"
#include "tools/InputFile.h"

namespace vx40::tool {
namespace {

constexpr std::size_t kMaxImageInputBytes = std::size_t{16} << 20;

}  // namespace

std::optional<BinImage> ReadImageInput(const std::string& path, std::ostream& err) {
    // A pipe or FIFO is read once and waited for, as a file would be read: opening it twice could
    // lose what its writer sends. Record texts of other programs may hold data far beyond the
    // image; the first 16 MiB is more than any of them needs.
    const std::string bytes =
        ReadInputBytes(path, kMaxImageInputBytes, ReadableFiles::AnyWaitingForInput);
    const BinImageParse read =
        ParseImage(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
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
