// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/NumericEditText.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "text/FixedDecimal.h"

namespace vx40 {

NumericEditReading ReadNumericEditText(std::string_view text, char decimalSeparator) {
    NumericEditReading reading;
    if (text.empty()) {
        reading.textToZero = true;
        return reading;
    }
    const bool negative =
        text.find('-') != std::string_view::npos || text.find('(') != std::string_view::npos;

    std::string collected;
    if (negative) {
        collected.push_back('-');
    }
    bool anyDigit = false;
    int separators = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            collected.push_back(c);
            anyDigit = true;
        } else if (c == decimalSeparator) {
            collected.push_back('.');
            ++separators;
        }
    }
    if (!anyDigit || separators > 1) {
        reading.beep = true;
        return reading;
    }
    const std::optional<double> value = ReadFixedDecimal(collected);
    if (!value) {
        reading.beep = true;
        return reading;
    }
    reading.value = *value;
    return reading;
}

std::optional<std::int32_t> RoundHalfEvenToInt32(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    // nearbyint rounds in the default mode, to nearest with ties to even.
    const double rounded = std::nearbyint(value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

std::string WholeNumberDigits(double whole) {
    constexpr std::uint32_t kLimb = 1000000000;
    int exponent = 0;
    const double fraction = std::frexp(whole, &exponent);
    constexpr int kMantissaBits = 53;
    auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, kMantissaBits));
    int doublings = exponent - kMantissaBits;
    if (doublings < 0) {
        // The value is whole: the bits shifted out are 0.
        mantissa >>= -doublings;
        doublings = 0;
    }
    std::vector<std::uint32_t> limbs;  // base 10^9, the lowest first
    for (; mantissa > 0; mantissa /= kLimb) {
        limbs.push_back(static_cast<std::uint32_t>(mantissa % kLimb));
    }
    for (; doublings > 0; --doublings) {
        std::uint32_t carry = 0;
        for (std::uint32_t& limb : limbs) {
            const std::uint64_t doubled = std::uint64_t{limb} * 2 + carry;
            limb = static_cast<std::uint32_t>(doubled % kLimb);
            carry = static_cast<std::uint32_t>(doubled / kLimb);
        }
        if (carry > 0) {
            limbs.push_back(carry);
        }
    }
    if (limbs.empty()) {
        return "0";
    }
    std::string digits = std::to_string(limbs.back());
    for (std::size_t i = limbs.size() - 1; i-- > 0;) {
        const std::string part = std::to_string(limbs[i]);
        digits.append(9 - part.size(), '0').append(part);
    }
    return digits;
}

std::string FormatNumericEditValue(double value, std::string_view groupSeparator) {
    if (!std::isfinite(value)) {
        return "0";
    }
    const double rounded = std::round(value);
    const bool negative = rounded < 0;
    const std::string plain = WholeNumberDigits(std::fabs(rounded));

    std::string grouped;
    const std::size_t length = plain.size();
    for (std::size_t i = 0; i < length; ++i) {
        if (i > 0 && (length - i) % 3 == 0) {
            grouped += groupSeparator;
        }
        grouped.push_back(plain[i]);
    }
    return negative ? "(" + grouped + ")" : grouped;
}

NumericFieldValue ReadNumericFieldValue(std::string_view text, char decimalSeparator) {
    const NumericEditReading reading = ReadNumericEditText(text, decimalSeparator);
    if (reading.textToZero) {
        return {0.0, false, true};
    }
    if (reading.beep || !RoundHalfEvenToInt32(reading.value)) {
        return {0.0, true, false};
    }
    return {reading.value, false, false};
}

}  // namespace vx40
