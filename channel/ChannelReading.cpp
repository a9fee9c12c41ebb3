// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/ChannelReading.h"

#include <algorithm>

#include "channel/DividerCalculation.h"

namespace vx40 {
namespace {

constexpr std::int32_t kEmptyNibble = 0x0F;

PrescalerEntry ByCode(const PrescalerList& list, std::int32_t code) {
    // Every code the nibbles can hold belongs to an entry: two bits each for R0, R1 and R2.
    return FindPrescalerByCode(list, code).value_or(list.front());
}

}  // namespace

std::optional<ChannelReading> ReadChannel(const NibbleValues& nibbles, std::int32_t crystalHz) {
    if (std::all_of(nibbles.begin(), nibbles.end(),
                    [](std::int32_t value) { return value == kEmptyNibble; })) {
        return std::nullopt;
    }
    const ChannelWord word = UnpackChannelWord(nibbles);
    ChannelReading reading;
    reading.r0 = ByCode(
        kR0Entries, (word.flags[0] ? kR0SelectN0Bit : 0) | (word.flags[1] ? kR0SelectN1Bit : 0));
    reading.r1 = ByCode(kR1Entries, word.prescalerCode & kR1CodeMask);
    reading.r2 = ByCode(kR2Entries, word.prescalerCode & kR2CodeMask);

    CalculationInputs inputs;
    inputs.crystalHz = crystalHz;
    inputs.r0Text = reading.r0.text;
    inputs.r1Text = reading.r1.text;
    inputs.r2Text = reading.r2.text;
    reading.ratio = CalculateRatio(inputs);
    reading.n = ComposeNFactor(word.parts);
    reading.frequencyHz = std::int64_t{reading.ratio} * reading.n;
    reading.modulator = word.flags[kN2FlagIndex];
    reading.testNibble = word.testNibble;
    return reading;
}

}  // namespace vx40
