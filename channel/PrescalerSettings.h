// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

#include "channel/NibbleLayout.h"
#include "channel/Prescalers.h"

namespace vx40 {

// The four codes that outlive a run of "Rechnen". A run sets each only when its text is exactly
// one of the list entries; otherwise the code keeps the value of the last run that set it (0 at
// start).
struct SelectionCodes {
    std::int32_t n0SelectBit = 0;  // 0 or 128, from the R0 text
    std::int32_t n1SelectBit = 0;  // 0 or 128, from the R0 text
    std::int32_t r1Code = 0;       // 0 to 3
    std::int32_t r2Code = 0;       // 0, 4, 8 or 12

    friend bool operator==(const SelectionCodes&, const SelectionCodes&) = default;
};

// An R0 select bit as the kept code holds it: bit 7 of the part's byte, the high nibble's flag.
inline constexpr std::int32_t kSelectBit = kFlagBit * 16;

constexpr void SetR0Codes(SelectionCodes& codes, const PrescalerEntry& r0) {
    codes.n0SelectBit = (r0.code & kR0SelectN0Bit) != 0 ? kSelectBit : 0;
    codes.n1SelectBit = (r0.code & kR0SelectN1Bit) != 0 ? kSelectBit : 0;
}

// The prescalers of one run: the divisors R0, R1 and R2, and the codes its channel word carries.
struct PrescalerSettings {
    std::int32_t r0 = 0;
    std::int32_t r1 = 0;
    std::int32_t r2 = 0;
    SelectionCodes codes;
};

// The settings of three list entries.
constexpr PrescalerSettings EntrySettings(const PrescalerEntry& r0, const PrescalerEntry& r1,
                                          const PrescalerEntry& r2) {
    PrescalerSettings settings{r0.divisor, r1.divisor, r2.divisor, {}};
    SetR0Codes(settings.codes, r0);
    settings.codes.r1Code = r1.code;
    settings.codes.r2Code = r2.code;
    return settings;
}

// The settings of the start texts.
inline constexpr PrescalerSettings kStartPrescalers = EntrySettings(
    *FindPrescalerByText(kR0Entries, kR0StartText), *FindPrescalerByText(kR1Entries, kR1StartText),
    *FindPrescalerByText(kR2Entries, kR2StartText));

// The settings that the texts of the three prescaler fields give: each text converted as a whole
// to an integer, R0, R1 and R2 in that order, ConversionFailure naming the first that is none. A
// text that is exactly an entry of its list sets that entry's code; any other text, even one
// that converts to an entry's divisor, keeps the code of kept.
PrescalerSettings ReadPrescalerTexts(std::string_view r0Text, std::string_view r1Text,
                                     std::string_view r2Text, const SelectionCodes& kept);

}  // namespace vx40
