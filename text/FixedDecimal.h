// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

namespace vx40 {

// The value of a decimal text "[-]digits[.digits]" with at least one digit ("5.", ".5" and "-0"
// included), rounded to the nearest double, a tie to the even neighbour. None for any other
// shape, and for a value outside the double's range: one that rounds to infinity, or one that is
// not zero but rounds to zero. Exact on every standard library, whether or not it converts
// floating-point numbers itself.
std::optional<double> ReadFixedDecimal(std::string_view text);

}  // namespace vx40
