// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/PrescalerSettings.h"

#include "text/IntegerConversion.h"

namespace vx40 {

PrescalerSettings ReadPrescalerTexts(std::string_view r0Text, std::string_view r1Text,
                                     std::string_view r2Text, const SelectionCodes& kept) {
    PrescalerSettings settings;
    settings.r0 = StrToInt(r0Text);
    settings.r1 = StrToInt(r1Text);
    settings.r2 = StrToInt(r2Text);
    settings.codes = kept;
    if (const auto r0 = FindPrescalerByText(kR0Entries, r0Text)) {
        SetR0Codes(settings.codes, *r0);
    }
    if (const auto r1 = FindPrescalerByText(kR1Entries, r1Text)) {
        settings.codes.r1Code = r1->code;
    }
    if (const auto r2 = FindPrescalerByText(kR2Entries, r2Text)) {
        settings.codes.r2Code = r2->code;
    }
    return settings;
}

}  // namespace vx40
