// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "channel/CalculatedRow.h"
#include "channel/ChannelTable.h"
#include "channel/PrescalerSettings.h"

namespace vx40 {

// The fields of one run of "Rechnen" as the front end holds them. The frequency field is read
// only when the run gets that far: reading it may beep or rewrite its text.
struct CalculationFields {
    std::int32_t crystalHz = kCrystalHz;
    std::string_view r0Text;
    std::string_view r1Text;
    std::string_view r2Text;
    bool modulator = kStartModulator;
    bool test = kStartTest;
    std::function<std::int32_t()> readFrequencyKhz;
};

// What a run has done and what is left: the ratio's text for "Overall", the row it wrote, and for
// a refused frequency the message to show before the data nibbles.
struct CalculationRun {
    std::int32_t ratio = 0;
    std::int32_t frequencyKhz = 0;
    std::string overallText;
    int row = 1;
    CalculatedRow texts;
    std::optional<std::string> message;
};

// One run of "Rechnen" up to its message: the prescaler texts and the divisions fail (raising
// ConversionFailure or DivisionFailure) before the frequency field is read and before anything
// changes; then kept takes the run's codes and the current row's parts N0 to N2 are written (the
// blanks of a refusal). The front end sets "Overall", shows the message if there is one, and
// then calls FinishCalculation, so a refusal's message stands between the blanked parts and the
// "0F" of the data nibbles.
CalculationRun StartCalculation(ChannelTable& table, SelectionCodes& kept,
                                const CalculationFields& fields);

// The data nibbles of the run's row.
void FinishCalculation(ChannelTable& table, const CalculationRun& run);

}  // namespace vx40
