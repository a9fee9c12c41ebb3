// SPDX-License-Identifier: GPL-3.0-or-later
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "text/NumericEditText.h"

namespace {

struct LocaleSeparators {
    char decimal;
    const char* group;
};

void CheckIn(const std::string& text, LocaleSeparators locale) {
    const auto reading = vx40::ReadNumericEditText(text, locale.decimal);
    VX40_FUZZ_CHECK(std::isfinite(reading.value));
    VX40_FUZZ_CHECK(!(reading.beep && reading.textToZero));
    VX40_FUZZ_CHECK(reading.textToZero == text.empty());
    if (reading.beep || reading.textToZero) {
        VX40_FUZZ_CHECK(reading.value == 0.0);
        return;
    }
    const auto whole = vx40::RoundHalfEvenToInt32(reading.value);
    if (!whole) {
        VX40_FUZZ_CHECK(std::fabs(reading.value) >= 2147483647.0);
        return;
    }
    // The field shows a whole value formatted and reads that text back as the same value.
    const std::string shown = vx40::FormatNumericEditValue(*whole, locale.group);
    const auto again = vx40::ReadNumericEditText(shown, locale.decimal);
    VX40_FUZZ_CHECK(!again.beep);
    VX40_FUZZ_CHECK(again.value == static_cast<double>(*whole));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckIn(text, {'.', ","});  // C and English
    CheckIn(text, {',', "."});  // German
    return 0;
}
