// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

#include "channel/ChannelConstants.h"

namespace vx40 {

// The three 7-bit parts of the N factor.
struct NParts {
    std::int32_t n0 = 0;
    std::int32_t n1 = 0;
    std::int32_t n2 = 0;

    friend bool operator==(const NParts&, const NParts&) = default;
};

// N = N2 * 16384 + N1 * 128 + N0.
constexpr std::int32_t ComposeNFactor(const NParts& parts) {
    return parts.n2 * kN2Weight + parts.n1 * kN1Weight + parts.n0;
}
constexpr NParts SplitNFactor(std::int32_t n) {
    return {n % kPartRange, (n / kN1Weight) % kPartRange, n / kN2Weight};
}

// Where a part of N sits in the data nibbles: its four low bits in nibble D<low>, its three high
// bits in bits 0 to 2 of nibble D<high>, whose bit 3 is a flag of its own.
struct PartNibbles {
    int low;
    int high;
};
inline constexpr std::array<PartNibbles, 3> kPartNibbles = {{{1, 2}, {3, 4}, {5, 6}}};  // N0 N1 N2
inline constexpr std::int32_t kFlagBit = 8;
inline constexpr std::int32_t kPartHighMask = 7;
inline constexpr int kPrescalerNibble = 7;  // the codes of R1 and R2
inline constexpr int kTestNibble = 0;

// Everything a channel's eight data nibbles carry. The flags of the N0 and N1 parts are R0's two
// select bits, the flag of the N2 part is the modulator bit.
struct ChannelWord {
    NParts parts;
    std::array<bool, 3> flags{};  // of N0, N1, N2
    std::int32_t prescalerCode = 0;
    std::int32_t testNibble = 0;

    friend bool operator==(const ChannelWord&, const ChannelWord&) = default;
};
inline constexpr int kN2FlagIndex = 2;  // the modulator bit

// The values of D0 to D7, indexed by k of Dk.
using NibbleValues = std::array<std::int32_t, kNibblesPerChannel>;

constexpr NibbleValues PackChannelWord(const ChannelWord& word) {
    NibbleValues nibbles{};
    const std::array<std::int32_t, 3> parts = {word.parts.n0, word.parts.n1, word.parts.n2};
    for (std::size_t i = 0; i < kPartNibbles.size(); ++i) {
        const auto [low, high] = kPartNibbles[i];
        nibbles[static_cast<std::size_t>(low)] = parts[i] % 16;
        nibbles[static_cast<std::size_t>(high)] = parts[i] / 16 + (word.flags[i] ? kFlagBit : 0);
    }
    nibbles[kPrescalerNibble] = word.prescalerCode;
    nibbles[kTestNibble] = word.testNibble;
    return nibbles;
}

constexpr ChannelWord UnpackChannelWord(const NibbleValues& nibbles) {
    ChannelWord word;
    std::array<std::int32_t, 3> parts{};
    for (std::size_t i = 0; i < kPartNibbles.size(); ++i) {
        const auto [low, high] = kPartNibbles[i];
        const std::int32_t highValue = nibbles[static_cast<std::size_t>(high)];
        parts[i] = nibbles[static_cast<std::size_t>(low)] + (highValue & kPartHighMask) * 16;
        word.flags[i] = (highValue & kFlagBit) != 0;
    }
    word.parts = {parts[0], parts[1], parts[2]};
    word.prescalerCode = nibbles[kPrescalerNibble];
    word.testNibble = nibbles[kTestNibble];
    return word;
}

}  // namespace vx40
