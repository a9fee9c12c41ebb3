// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace vx40 {

// The runtime's conversion of a whole text to a signed 32-bit integer: leading blanks, an
// optional sign, then decimal digits or a hexadecimal number after "$", "x", "X", "0x" or "0X"
// (at most eight significant digits, taken as a 32-bit pattern). Nothing may follow the digits.
std::optional<std::int32_t> TryStrToInt(std::string_view text);

// A number as scripts write it (a frequency in kHz, the crystal in Hz): a decimal integer, "-"
// before a negative one, nothing else around it, within the signed 32-bit range.
std::optional<std::int32_t> ParseDecimalInt32(std::string_view text);

// As TryStrToInt, but a text that is no integer raises ConversionFailure naming the text.
std::int32_t StrToInt(std::string_view text);

}  // namespace vx40
