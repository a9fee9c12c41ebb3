// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx40 {

// How the numeric edit (the frequency field) turns its text into a value and back. The locale's
// separators are passed in, so these rules need no windowing system and no process locale.
struct NumericEditReading {
    double value = 0.0;
    bool beep = false;        // the text could not be converted; the value is 0
    bool textToZero = false;  // the text was empty and becomes "0"
};

// Digits and the decimal separator are collected in order, everything else is dropped; a "-" or
// "(" anywhere makes the value negative.
NumericEditReading ReadNumericEditText(std::string_view text, char decimalSeparator);

// The value rounded to the nearest integer, an exact half to the even neighbour; no value when it
// lies outside the signed 32-bit range (or is not a number).
std::optional<std::int32_t> RoundHalfEvenToInt32(double value);

// The decimal digits of a whole, non-negative double, exactly as printf's "%.0f" gives them,
// without formatted output (the browser page would carry the whole of printf for this number).
std::string WholeNumberDigits(double whole);

// The display format ",0;(,0)": a whole number with the group separator between groups of three
// digits, a negative value in parentheses without a minus sign.
std::string FormatNumericEditValue(double value, std::string_view groupSeparator);

// What a read of the field's value does: an empty text becomes "0" and reads 0; a text that
// cannot be converted, or whose value lies beyond 32 bits, reads 0 with a beep, so that it never
// wraps to another channel's frequency.
struct NumericFieldValue {
    double value = 0.0;
    bool beep = false;
    bool textToZero = false;
};
NumericFieldValue ReadNumericFieldValue(std::string_view text, char decimalSeparator);

}  // namespace vx40
