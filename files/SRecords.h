// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "files/RecordText.h"

namespace vx40 {

// The bytes from the start address as S-records: an S0 header "VX40", data records of 16 bytes
// and the end record that go with the highest address (S1 and S9 up to 0xFFFF, S2 and S8 up to
// 0xFFFFFF, S3 and S7 above); upper-case hexadecimal, each line ended by a line feed. The
// 128-byte image from 0 is S1 records and S9.
std::string SRecordText(std::span<const std::uint8_t> bytes, std::uint32_t start = 0);

// Decodes S-record lines: S1 to S3 data with addresses of 2 to 4 bytes, the S0 header, the S5
// and S6 counts, which must match the data records before them, and the S7 to S9 ends.
RecordLineDecoder NewSRecordDecoder();

}  // namespace vx40
