// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/Result.h"
#include "files/BinImage.h"
#include "files/ImageFormats.h"
#include "os/FileRead.h"

namespace vx40 {

// What a read takes an image to be: bytes only, as the window reads bin files, or any format of
// the table, recognised by the content.
enum class ImageContent { BinOnly, AnyFormat };

// Reads an image. A content is a text of records when, after a UTF-8 byte-order mark and white
// space (blank, tab, CR, LF) of any length, it starts with a format's lead-in and a character
// that may follow it (':' and a hexadecimal digit, 'S' and a decimal digit); anything else is
// binary. A binary image whose first 128 bytes are 0x00 to 0x0F and not all white space can never
// look like records.
//
// Binary content: the first 128 bytes, checked whole; bytes after them are ignored. Fewer are
// ImageTooShort, a byte above 0x0F is ImageInvalidData (position: its offset).
// Records, whose lines may end in LF, CR LF or a CR alone, are ImageInvalidRecords (detail: the
// message, naming the line or address) for a bad record, a byte above 0x0F at an address among 0
// to 127, an address among 0 to 127 that no record or two records give, or a missing end record
// where the format needs one; data beyond address 127 is ignored.
Result<BinImage> ReadImage(std::span<const std::uint8_t> bytes,
                           ImageContent content = ImageContent::AnyFormat);

// ReadImage on the content of path, read once and as a stream with the kinds of file given, so
// that a large text costs no more memory than one line and a binary content no more than its
// first 128 bytes; white space before the first record is read to its end, however long. A read
// that fails is the read's own failure (ReadFailed with the errno and the path).
Result<BinImage> ReadImageFile(const std::string& path, ReadableFiles kinds,
                               ImageContent content = ImageContent::AnyFormat);

// Reads the image of a whole chip, as a programmer reads it back, in the formats ReadImage tells
// apart. Binary content: every byte, at most 1 MiB (more is ChipImageRefused). Records: anywhere
// from address 0 to 0xFFFFF, in any order, the chip running to the highest address they give and
// every address no record gives holding fill; an address two records give, one beyond 1 MiB, a
// bad record or a missing end record are ImageInvalidRecords. No byte is checked: ImageInChip
// takes the 128 bytes at an offset from the chip.
Result<std::vector<std::uint8_t>> ReadChipImage(std::span<const std::uint8_t> bytes,
                                                std::uint8_t fill);

// ReadChipImage on the content of path, read as ReadImageFile reads it; a binary content costs
// at most 1 MiB and a byte.
Result<std::vector<std::uint8_t>> ReadChipImageFile(const std::string& path, ReadableFiles kinds,
                                                    std::uint8_t fill);

// The format ReadImage finds in the content.
ImageFormat DetectImageFormat(std::span<const std::uint8_t> bytes);

}  // namespace vx40
