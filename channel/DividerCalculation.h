// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/Result.h"
#include "channel/ChannelConstants.h"
#include "channel/NibbleLayout.h"
#include "channel/PrescalerSettings.h"

namespace vx40 {

// What one run of "Rechnen" calculates with.
struct CalculationInputs {
    std::int32_t crystalHz = kCrystalHz;
    PrescalerSettings prescalers = kStartPrescalers;
    bool modulator = kStartModulator;
    bool test = kStartTest;
    std::int32_t frequencyKhz = kStartFrequencyKhz;
};

// The N factor's parts and the channel's eight data nibbles.
struct DividerWord {
    NParts parts;
    NibbleValues nibbles{};
};

struct CalculationResult {
    std::int32_t ratio = 0;
    Result<DividerWord> word;  // NotCalculable: the frequency is refused
};

// The ratio crystal / 4 / R0 / R1 / R2 in truncating integer division; DivisionFailure for a
// divisor of 0.
std::int32_t CalculateRatio(std::int32_t crystalHz, const PrescalerSettings& prescalers);

// The N factor for which ratio * N hits the frequency exactly, with every part in 0 to 127 and
// N0 from 1 to 127; none when there is no such N or the ratio is not positive. The search counts
// upward as the synthesizer's documentation describes, on exact 64-bit differences, and always
// ends.
std::optional<std::int32_t> SearchNFactor(std::int32_t ratio, std::int64_t frequencyHz);

// The divider word of the inputs' frequency, codes and switches at ratio, the ratio of their
// crystal and divisors: for a caller that needed the ratio before it had the frequency.
Result<DividerWord> DividerWordAt(std::int32_t ratio, const CalculationInputs& inputs);

// One whole run of "Rechnen": the ratio (DivisionFailure for a divisor of 0) and the divider word.
CalculationResult CalculateDividerWord(const CalculationInputs& inputs);

// The German text of a failure of the calculation.
std::string CalculationFailureText(const Failure& failure);

// The whole-kHz frequencies nearest below and above a refused one that the same ratio can hit.
struct NearestFrequencies {
    std::optional<std::int32_t> below;
    std::optional<std::int32_t> above;
};
NearestFrequencies NearestAchievableFrequencies(std::int32_t ratio, std::int32_t frequencyKhz);

}  // namespace vx40
