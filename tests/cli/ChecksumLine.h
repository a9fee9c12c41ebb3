// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vx40::cli_test {

// The line a command prints on standard error for an image it wrote or read.
inline std::string ChecksumLine(const std::string& name, const std::string& checksums) {
    return "vx40-tool: \"" + name + "\": " + checksums + "\n";
}

// The image of channel 1 at 798300 kHz alone: 120 bytes 0x0F (1800) and 5+8+3+7+2+7+8+4 (44),
// 1844 = 0x0734; the CRC-32 as zlib's crc32() gives it for the same bytes.
inline const std::string kWorkedChecksums = "Summe 0x0734, CRC-32 0x56897F4E";

}  // namespace vx40::cli_test
