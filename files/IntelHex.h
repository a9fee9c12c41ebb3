// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "files/RecordText.h"

namespace vx40 {

// The bytes from the start address as Intel HEX: data records of 16 bytes, an extended linear
// address record (04) wherever the upper 16 bits of the address change from 0 or from the last
// one, then the end-of-file record ":00000001FF"; upper-case hexadecimal, each line ended by a
// line feed. The 128-byte image from 0 needs no 04 record.
std::string IntelHexText(std::span<const std::uint8_t> bytes, std::uint32_t start = 0);

// Decodes Intel HEX lines: data (00), end of file (01), extended segment (02) and linear (04)
// addresses, which set the base of the data records after them, and start addresses (03, 05),
// which mean nothing to a memory image.
RecordLineDecoder NewIntelHexDecoder();

}  // namespace vx40
