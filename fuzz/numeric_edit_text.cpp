// SPDX-License-Identifier: GPL-3.0-or-later
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "text/FixedDecimal.h"
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

#if defined(__cpp_lib_to_chars)
// Where the standard library converts floating-point numbers itself, the portable reading gives
// exactly what it gives, out-of-range refusals included.
void CheckAgainstLibrary(const std::string& text) {
    double expected = 0.0;
    const char* last = text.data() + text.size();
    const auto [end, error] =
        std::from_chars(text.data(), last, expected, std::chars_format::fixed);
    const bool accepted = error == std::errc() && end == last && std::isfinite(expected);
    const auto value = vx40::ReadFixedDecimal(text);
    VX40_FUZZ_CHECK(value.has_value() == accepted);
    if (value) {
        VX40_FUZZ_CHECK(*value == expected && std::signbit(*value) == std::signbit(expected));
    }
}
#else
void CheckAgainstLibrary(const std::string&) {}
#endif

// The digits, points and minus of a text, as the reading collects them.
std::string Collected(const std::string& text) {
    std::string collected = text.find('-') != std::string::npos ? "-" : "";
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || c == '.') {
            collected.push_back(c);
        }
    }
    return collected;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckIn(text, {'.', ","});  // C and English
    CheckIn(text, {',', "."});  // German
    CheckAgainstLibrary(text);
    CheckAgainstLibrary(Collected(text));
    return 0;
}
