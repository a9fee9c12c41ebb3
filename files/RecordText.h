// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace vx40 {

// The hexadecimal text that Intel HEX and S-records share: every byte of a record as two
// upper-case digits after the record's lead-in, the checksum last.

// The line of a record: its lead-in, then its bytes and the checksum in hexadecimal, then LF.
std::string RecordLine(std::string_view leadIn, std::span<const std::uint8_t> bytes,
                       std::uint8_t checksum);

// "0x" and the two digits of a byte, as messages name addresses and bytes.
std::string HexByteText(std::uint64_t value);

// The sum of the bytes, modulo 256.
std::uint8_t ByteSum(std::span<const std::uint8_t> bytes);

// The bytes read as one number, the first the most significant.
std::uint64_t BigEndian(std::span<const std::uint8_t> bytes);

// Why a line is no record: an ImageInvalidRecords failure whose detail is the reason alone
// ("Prüfsumme falsch"); the reader puts the line and the kind of record around it.
Failure RecordRefusal(std::string reason);

// The bytes of the hexadecimal digits after a record's lead-in, two digits each.
Result<std::vector<std::uint8_t>> RecordBytes(std::string_view digits);

// What one line of records holds for the image.
struct DecodedRecord {
    std::uint64_t address = 0;       // of the first data byte
    std::vector<std::uint8_t> data;  // empty for a record that carries nothing for the image
    bool ends = false;               // an end record: no record may follow it
};

// Decodes the lines of one text of records in turn, keeping what the format carries from line
// to line (a base address, a count of records). A line comes without the blanks around it and is
// never empty; a refusal is a RecordRefusal.
using RecordLineDecoder = std::function<Result<DecodedRecord>(std::string_view line)>;

}  // namespace vx40
