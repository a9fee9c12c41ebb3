// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "channel/ChannelTable.h"
#include "files/BinFile.h"
#include "files/BinImage.h"
#include "os/FileRead.h"

namespace vx40 {

// The forms in which an image goes to an EPROM programmer: the bare bytes, or a text of
// Intel HEX or Motorola S-records.
enum class ImageFormat { Bin, IntelHex, SRecord };

// The image as Intel HEX: data records of 16 bytes from address 0, then the end-of-file record
// ":00000001FF"; upper-case hexadecimal, each line ended by a line feed.
std::string IntelHexText(const BinImage& image);

// The image as S-records: an S0 header "VX40", S1 records of 16 bytes from address 0, the S9
// end record; upper-case hexadecimal, each line ended by a line feed.
std::string SRecordText(const BinImage& image);

// The content of a file of the image in the format: the 128 bytes, or the text of records.
std::string EncodedImage(const BinImage& image, ImageFormat format);

// A content is a text of records when, after a UTF-8 byte-order mark and white space (blank,
// tab, CR, LF) of any length, it starts with ':' and a hexadecimal digit (Intel HEX) or 'S' and
// a decimal digit (S-records); anything else is binary. A binary image whose first 128 bytes are
// 0x00 to 0x0F and not all white space can never look like records, so every such bin file still
// reads as it did; one of nothing but white space reads as the bin rules make of it.
ImageFormat DetectImageFormat(std::span<const std::uint8_t> bytes);

// Reads an image in any of the three formats, recognised by its content. Binary content reads
// exactly as ParseBinImage. Records, whose lines may end in LF, CR LF or a CR alone, are refused
// as InvalidRecords, with the text in recordMessage, for a bad record (naming its line), a byte
// above 0x0F at an address among 0 to 127, an address among 0 to 127 that no record or two
// records give, or a missing Intel HEX end record; data beyond address 127 is ignored.
BinImageParse ParseImage(std::span<const std::uint8_t> bytes);

// What a read of an image from a path gives: the read's own outcome, and the image or its
// refusal. A read that failed gives a too-short image.
struct ImageFileRead {
    Status read;
    BinImageParse image;
};

// ParseImage on the content of path, read once and as a stream with the kinds of file given, so
// that a large text costs no more memory than one line, and a binary content no more than its
// first 128 bytes; white space before the first record is read to its end, however long.
ImageFileRead ReadImageStream(const std::string& path, ReadableFiles kinds);

// ReadImageStream of any file but a folder. A binary content reads exactly as ReadBinFile; a
// folder, a FIFO without data, a missing or unreadable file reads as too short.
BinImageParse ReadImageFile(const std::string& path);

// Reads path and, only when the image is accepted, applies it to the table; a refused file
// changes no cell.
BinImageParse ReadImageFileInto(ChannelTable& table, const std::string& path);

// The text for the message dialog of a refused read, empty for an accepted image.
std::string ImageRefusalMessage(const BinImageParse& read);

// WriteBinFile in the given format: the same refusal of an invalid cell, the same whole replace.
BinWriteResult WriteImageFile(const ChannelTable& table, const std::string& path,
                              ImageFormat format);

}  // namespace vx40
