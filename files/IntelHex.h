// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "files/BinImage.h"
#include "files/RecordText.h"

namespace vx40 {

// The image as Intel HEX: data records of 16 bytes from address 0, then the end-of-file record
// ":00000001FF"; upper-case hexadecimal, each line ended by a line feed.
std::string IntelHexText(const BinImage& image);

// Decodes Intel HEX lines: data (00), end of file (01), extended segment (02) and linear (04)
// addresses, which set the base of the data records after them, and start addresses (03, 05),
// which mean nothing to a memory image.
RecordLineDecoder NewIntelHexDecoder();

}  // namespace vx40
