// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "files/BinImage.h"
#include "files/RecordText.h"

namespace vx40 {

// The image as S-records: an S0 header "VX40", S1 records of 16 bytes from address 0, the S9
// end record; upper-case hexadecimal, each line ended by a line feed.
std::string SRecordText(const BinImage& image);

// Decodes S-record lines: S1 to S3 data with addresses of 2 to 4 bytes, the S0 header, the S5
// and S6 counts, which must match the data records before them, and the S7 to S9 ends.
RecordLineDecoder NewSRecordDecoder();

}  // namespace vx40
