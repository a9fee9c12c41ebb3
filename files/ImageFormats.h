// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "files/BinImage.h"
#include "files/RecordText.h"

namespace vx40 {

// The forms in which an image goes to an EPROM programmer: the bare bytes, or a text of records.
enum class ImageFormat { Bin, IntelHex, SRecord };

// One row of the table of formats. Everything that differs between the formats stands here or
// in the format's own file: the tool's --format option, its rule of output endings, its help,
// the reader's detection and messages all read this table.
struct ImageFormatEntry {
    ImageFormat format;
    std::string_view name;   // the name --format takes
    std::string_view shown;  // how the help names the form
    // The endings of output names that choose the format, lower case, with the dot.
    std::span<const std::string_view> endings;
    // A text of records starts, after a byte-order mark and white space, with leadIn and a
    // character for which startsRecord holds. Bin, which every other content is, has neither.
    char leadIn;
    bool (*startsRecord)(char second);
    std::string_view recordName;      // a record in messages: "kein gültiger <recordName>"
    std::string_view missingEndText;  // the refusal of a text without end record; empty: none
    // The text of the bytes from the start address; the image is the 128 bytes from 0.
    std::string (*encode)(std::span<const std::uint8_t> bytes, std::uint32_t start);
    RecordLineDecoder (*newDecoder)();  // a decoder for the lines of one text; null for bin
};

// The formats, bin first.
std::span<const ImageFormatEntry> ImageFormatTable();

const ImageFormatEntry& ImageFormatEntryOf(ImageFormat format);

// The content of a file of the image in the format: the 128 bytes, or the text of records.
std::string EncodedImage(const BinImage& image, ImageFormat format);

// The same for bytes from address 0, such as a whole chip.
std::string EncodedBytes(std::span<const std::uint8_t> bytes, ImageFormat format);

}  // namespace vx40
