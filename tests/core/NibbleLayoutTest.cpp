// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/NibbleLayout.h"

#include <gtest/gtest.h>

namespace vx40 {
namespace {

// Every part value and every flag lands in its nibbles and comes back unchanged, and the nibbles
// always stay within 0 to 15.
TEST(NibbleLayout, PackAndUnpackAreInverse) {
    for (std::int32_t part = 0; part <= kMaxPart; ++part) {
        for (int flags = 0; flags < 8; ++flags) {
            ChannelWord word;
            word.parts = {part, kMaxPart - part, (part * 5) % kPartRange};
            word.flags = {(flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0};
            word.prescalerCode = part % 16;
            word.testNibble = (part / 16) % 16;
            const NibbleValues nibbles = PackChannelWord(word);
            for (std::int32_t value : nibbles) {
                ASSERT_GE(value, 0);
                ASSERT_LE(value, 15);
            }
            ASSERT_EQ(UnpackChannelWord(nibbles), word);
            ASSERT_EQ(SplitNFactor(ComposeNFactor(word.parts)), word.parts);
        }
    }
}

}  // namespace
}  // namespace vx40
