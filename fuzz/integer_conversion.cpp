// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/RuntimeFailure.h"
#include "channel/CellText.h"
#include "fuzz/FuzzCheck.h"
#include "text/IntegerConversion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto value = vx40::TryStrToInt(text);

    // The raising form agrees, and its message names the text as read.
    try {
        VX40_FUZZ_CHECK(vx40::StrToInt(text) == value);
    } catch (const vx40::ConversionFailure& failure) {
        VX40_FUZZ_CHECK(!value);
        // what() ends at a NUL byte in the text, as any C string does.
        const std::string expected = "'" + text + "' is not a valid integer value";
        VX40_FUZZ_CHECK(failure.what() == expected.substr(0, expected.find('\0')));
    }

    // Leading blanks never matter; trailing ones always refuse.
    VX40_FUZZ_CHECK(vx40::TryStrToInt(" " + text) == value);
    VX40_FUZZ_CHECK(!vx40::TryStrToInt(text + " "));

    if (value) {
        // A converted value written as decimal text converts back to itself.
        VX40_FUZZ_CHECK(vx40::TryStrToInt(vx40::DecimalText(*value)) == value);
    }
    return 0;
}
