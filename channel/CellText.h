// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vx40 {

// The 16 nibble texts "00" to "0F": "0" and one upper-case hexadecimal digit. Readers compare
// exactly: "0a", " 0A" or "A" are no nibble texts.
std::optional<int> NibbleValue(std::string_view text);

// The nibble text of 0 to 15.
std::string NibbleText(int value);

// Plain decimal: "-" before negatives, no grouping, no blanks.
std::string DecimalText(std::int64_t value);

// A frequency in Hz as kHz with exactly three decimals and ".": "798300.000".
std::string KhzText(std::int64_t frequencyHz);

// The two-digit hexadecimal text of a value taken as unsigned 32 bits, upper case, padded to at
// least two digits: the bytes of records and the addresses in their messages.
std::string TwoDigitHexText(std::int32_t value);

}  // namespace vx40
