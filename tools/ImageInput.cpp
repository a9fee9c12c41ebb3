// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageInput.h"

#include "files/ChipImage.h"
#include "files/ImageReader.h"
#include "tools/InputFile.h"

namespace vx40::tool {
namespace {

Result<ImageRead> ReadFrom(const std::string& readPath, const ChipReading& reading) {
    if (!reading.offset) {
        const Result<BinImage> image = ReadImageFile(readPath, ReadableFiles::AnyWaitingForInput);
        if (!image) {
            return image.Error();
        }
        return ImageRead{*image, std::vector<std::uint8_t>(image->begin(), image->end())};
    }
    Result<std::vector<std::uint8_t>> chip =
        ReadChipImageFile(readPath, ReadableFiles::AnyWaitingForInput, reading.fill);
    if (!chip) {
        return chip.Error();
    }
    const Result<BinImage> image = ImageInChip(*chip, *reading.offset);
    if (!image) {
        return image.Error();
    }
    return ImageRead{*image, std::move(chip).Value()};
}

}  // namespace

Result<ImageRead> ReadImageInput(const std::string& path, const ChipReading& reading) {
    const Result<std::string> readPath = InputReadPath(path);
    if (!readPath) {
        return readPath.Error();
    }
    Result<ImageRead> read = ReadFrom(*readPath, reading);
    if (!read && read.Error().kind == FailureKind::ReadFailed) {
        return UnreadableInput(path, read.Error().error);
    }
    return read;
}

}  // namespace vx40::tool
