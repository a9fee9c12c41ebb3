// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/FixedDecimal.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace vx40 {
namespace {

// A natural number in base 2^32, lowest limb first; only what the rounding needs.
using Natural = std::vector<std::uint32_t>;

void MultiplyAdd(Natural& n, std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (std::uint32_t& limb : n) {
        carry += static_cast<std::uint64_t>(limb) * factor;
        limb = static_cast<std::uint32_t>(carry);
        carry >>= 32;
    }
    if (carry != 0) {
        n.push_back(static_cast<std::uint32_t>(carry));
    }
}

// Divides in place and tells whether anything remained.
bool DivideLeavesRest(Natural& n, std::uint32_t divisor) {
    std::uint64_t rest = 0;
    for (std::size_t i = n.size(); i-- > 0;) {
        rest = (rest << 32) | n[i];
        n[i] = static_cast<std::uint32_t>(rest / divisor);
        rest %= divisor;
    }
    while (!n.empty() && n.back() == 0) {
        n.pop_back();
    }
    return rest != 0;
}

void ShiftLeft(Natural& n, std::size_t bits) {
    n.insert(n.begin(), bits / 32, 0);
    for (std::size_t i = 0; i < bits % 32; ++i) {
        MultiplyAdd(n, 2, 0);
    }
}

std::size_t BitLength(const Natural& n) {
    if (n.empty()) {
        return 0;
    }
    std::size_t length = 32 * n.size();
    for (std::uint32_t top = n.back(); (top & 0x80000000u) == 0; top <<= 1) {
        --length;
    }
    return length;
}

bool Bit(const Natural& n, std::size_t position) {
    return position / 32 < n.size() && ((n[position / 32] >> (position % 32)) & 1u) != 0;
}

bool AnyBitBelow(const Natural& n, std::size_t position) {
    for (std::size_t i = 0; i < position; ++i) {
        if (Bit(n, i)) {
            return true;
        }
    }
    return false;
}

// Multiplies (powerOfTen > 0) or divides by ten to that power; a division tells whether anything
// remained. Divisions in steps are exact: floor(floor(x / a) / b) = floor(x / (a * b)).
bool ScaleByPowerOfTen(Natural& n, long powerOfTen) {
    bool rest = false;
    for (long left = std::labs(powerOfTen); left > 0; left -= 9) {
        std::uint32_t step = 1;
        for (long i = 0; i < std::min(left, 9L); ++i) {
            step *= 10;
        }
        if (powerOfTen > 0) {
            MultiplyAdd(n, step, 0);
        } else {
            rest = DivideLeavesRest(n, step) || rest;
        }
    }
    return rest;
}

// Nearest double to n * 10^powerOfTen, a tie to even; 0 or infinity beyond the range.
double Rounded(Natural n, long powerOfTen) {
    std::size_t shift = 0;  // n now stands for n * 2^-shift, plus a rest when one remained
    bool rest = false;
    if (powerOfTen >= 0) {
        ScaleByPowerOfTen(n, powerOfTen);
    } else {
        // 54 significant bits must be left after the division; 10^k < 2^(4k).
        const std::size_t wanted = 4 * static_cast<std::size_t>(-powerOfTen) + 54;
        shift = wanted > BitLength(n) ? wanted - BitLength(n) : 0;
        ShiftLeft(n, shift);
        rest = ScaleByPowerOfTen(n, powerOfTen);
    }
    // A double keeps 53 significant bits and none below 2^-1074.
    const long length = static_cast<long>(BitLength(n));
    const long lowest = std::max({0L, length - 53, static_cast<long>(shift) - 1074});
    const auto drop = static_cast<std::size_t>(lowest);
    std::uint64_t mantissa = 0;
    for (std::size_t i = 53; i-- > 0;) {
        mantissa = (mantissa << 1) | (Bit(n, drop + i) ? 1u : 0u);
    }
    if (drop > 0 && Bit(n, drop - 1) && (rest || AnyBitBelow(n, drop - 1) || (mantissa & 1u))) {
        ++mantissa;
    }
    return std::ldexp(static_cast<double>(mantissa),
                      static_cast<int>(lowest - static_cast<long>(shift)));
}

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A decimal number as its significant digits (no zero in front or at the end) times a power of ten.
struct Decimal {
    bool negative = false;
    std::string digits;
    long powerOfTen = 0;
};

std::optional<Decimal> SplitDecimal(std::string_view text) {
    Decimal decimal;
    if (!text.empty() && text.front() == '-') {
        decimal.negative = true;
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.size() + fraction.size() == 0 || !AllDigits(whole) || !AllDigits(fraction)) {
        return std::nullopt;
    }
    std::string digits = std::string(whole) + std::string(fraction);
    const std::size_t last = digits.find_last_not_of('0');
    if (last == std::string::npos) {
        return decimal;
    }
    const auto trailingZeros = static_cast<long>(digits.size() - 1 - last);
    decimal.powerOfTen = trailingZeros - static_cast<long>(fraction.size());
    digits.resize(last + 1);
    decimal.digits = digits.substr(digits.find_first_not_of('0'));
    return decimal;
}

// Beyond this many significant digits only whether a further digit is non-zero can change the
// rounding: a tie between two doubles never has more than 767.
constexpr std::size_t kDecidingDigits = 800;

}  // namespace

std::optional<double> ReadFixedDecimal(std::string_view text) {
    std::optional<Decimal> decimal = SplitDecimal(text);
    if (!decimal) {
        return std::nullopt;
    }
    std::string& digits = decimal->digits;
    if (digits.empty()) {
        return decimal->negative ? -0.0 : 0.0;
    }
    if (digits.size() > kDecidingDigits) {
        // The dropped digits end in a non-zero one; a 1 in their place rounds the same way.
        decimal->powerOfTen += static_cast<long>(digits.size() - kDecidingDigits - 1);
        digits.resize(kDecidingDigits);
        digits.push_back('1');
    }
    // The value lies in [10^(places - 1), 10^places): beyond 1e309 or below 1e-324 it is out of
    // range whatever its digits, and the big numbers stay small.
    const long places = static_cast<long>(digits.size()) + decimal->powerOfTen;
    if (places > 309 || places < -323) {
        return std::nullopt;
    }
    Natural n;
    for (const char digit : digits) {
        MultiplyAdd(n, 10, static_cast<std::uint32_t>(digit - '0'));
    }
    const double value = Rounded(std::move(n), decimal->powerOfTen);
    if (value == 0.0 || std::isinf(value)) {
        return std::nullopt;
    }
    return decimal->negative ? -value : value;
}

}  // namespace vx40
