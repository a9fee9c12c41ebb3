// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/ImageChecksums.h"

namespace vx40 {
namespace {

// Sums worked out by hand; CRC-32 values as zlib's crc32() gives them.
TEST(ImageChecksums, KnownImages) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::string text;
    };
    const std::string digits = "123456789";
    const Case cases[] = {
        {{}, "Summe 0x0000, CRC-32 0x00000000"},
        {{digits.begin(), digits.end()}, "Summe 0x01DD, CRC-32 0xCBF43926"},
        // An image of sixteen empty channels: 128 times 0x0F.
        {std::vector<std::uint8_t>(128, 0x0F), "Summe 0x0780, CRC-32 0xB9BDB518"},
        // A blank 1 MiB chip: the sum wraps to zero.
        {std::vector<std::uint8_t>(1 << 20, 0xFF), "Summe 0x0000, CRC-32 0x956BAC74"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChecksumText(ChecksumsOf(c.bytes)), c.text) << c.bytes.size();
    }
}

}  // namespace
}  // namespace vx40
