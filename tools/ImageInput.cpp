// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageInput.h"

#include <cstdint>
#include <limits>
#include <span>

#include "files/ChannelSetFile.h"
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

Result<std::variant<ChannelTable, BinImage>> ReadTableOrImageInput(const std::string& path) {
    const Result<std::string> bytes =
        ReadInputBytes(path, std::numeric_limits<std::size_t>::max(), ReadableFiles::RegularOnly);
    if (!bytes) {
        return bytes.Error();
    }
    ChannelTable table;
    if (LoadChannelSetText(table, *bytes).Ok()) {
        return std::variant<ChannelTable, BinImage>(std::move(table));
    }
    const Result<BinImage> image = ReadImage(std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
    if (!image) {
        // A name that promises a table makes the table's refusal the clearer one.
        return IsChannelSetPath(path) ? Failure(FailureKind::NoChannelSet, 0, path) : image.Error();
    }
    return std::variant<ChannelTable, BinImage>(*image);
}

}  // namespace vx40::tool
