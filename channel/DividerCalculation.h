// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "channel/ChannelTable.h"
#include "channel/Prescalers.h"

namespace vx40 {

// What one run of "Rechnen" reads from the window's controls.
struct CalculationInputs {
    std::string r0Text{kR0StartText};
    std::string r1Text{kR1StartText};
    std::string r2Text{kR2StartText};
    std::int32_t crystalHz = kCrystalHz;
    bool modulator = kStartModulator;
    bool test = kStartTest;
    std::int32_t frequencyKhz = kStartFrequencyKhz;
};

// The four codes that outlive a run. A run sets each only when its text is one of the list
// entries; otherwise the code keeps the value of the last run that set it (0 at start).
struct SelectionCodes {
    std::int32_t n0SelectBit = 0;  // 0 or 128, from the R0 text
    std::int32_t n1SelectBit = 0;  // 0 or 128, from the R0 text
    std::int32_t r1Code = 0;       // 0 to 3
    std::int32_t r2Code = 0;       // 0, 4, 8 or 12

    friend bool operator==(const SelectionCodes&, const SelectionCodes&) = default;
};

// The N factor's parts and the eight data nibble texts, D7 first (columns 4 to 11).
struct DividerWord {
    std::int32_t n0 = 0;
    std::int32_t n1 = 0;
    std::int32_t n2 = 0;
    std::array<std::string, 8> nibbles;
};

struct CalculationResult {
    std::int32_t ratio = 0;
    std::string ratioText;
    std::optional<DividerWord> word;  // empty: the frequency is refused

    bool Refused() const { return !word.has_value(); }
};

// The ratio crystal / 4 / R0 / R1 / R2 in truncating integer division. Raises ConversionFailure
// for an R text that is no integer (R0 first) and DivisionFailure for a divisor of 0.
std::int32_t CalculateRatio(const CalculationInputs& inputs);

// The N factor for which ratio * N hits the frequency exactly, with every part in 0 to 127 and
// N0 from 1 to 127; none when there is no such N or the ratio is not positive. The search counts
// upward as the synthesizer's documentation describes, on exact 64-bit differences, and always
// ends.
std::optional<std::int32_t> SearchNFactor(std::int32_t ratio, std::int64_t frequencyHz);

// One whole run of "Rechnen" without the window. The kept codes change only when the run gets
// past the conversions and the divisions; a failure raises before anything changes.
CalculationResult CalculateDividerWord(const CalculationInputs& inputs, SelectionCodes& kept);

// Writes a run's result into a row in the order the window shows it: on a refusal the blanks in
// columns 3 to 1, then the message (showRefusal, which blocks while it is open), then "0F" in
// columns 4 to 11; on success N2, N1, N0, then D0 up to D7. Column 0 is never written.
void ApplyCalculation(ChannelTable& table, int row, const CalculationResult& result,
                      const std::function<void()>& showRefusal);

// The whole-kHz frequencies nearest below and above a refused one that the same ratio can hit.
struct NearestFrequencies {
    std::optional<std::int32_t> below;
    std::optional<std::int32_t> above;
};
NearestFrequencies NearestAchievableFrequencies(std::int32_t ratio, std::int32_t frequencyKhz);

}  // namespace vx40
