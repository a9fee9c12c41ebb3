// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/IntegerConversion.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "base/RuntimeFailure.h"

namespace vx40 {
namespace {

struct ConversionCase {
    std::string text;
    std::optional<std::int32_t> expected;
};

void PrintTo(const ConversionCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class IntegerConversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(IntegerConversion, ConvertsTheWholeText) {
    EXPECT_EQ(TryStrToInt(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IntegerConversion,
    testing::Values(
        // decimal, signs and leading blanks
        ConversionCase{"12", 12}, ConversionCase{"0", 0}, ConversionCase{"007", 7},
        ConversionCase{"+5", 5}, ConversionCase{"-13", -13}, ConversionCase{"   13", 13},
        ConversionCase{"  -2", -2}, ConversionCase{"2147483647", INT_MAX},
        ConversionCase{"-2147483648", INT_MIN}, ConversionCase{"2147483648", std::nullopt},
        ConversionCase{"-2147483649", std::nullopt},
        ConversionCase{"99999999999999999999", std::nullopt},
        // every hexadecimal prefix, either case of digits, at most eight significant digits
        ConversionCase{"$1F", 31}, ConversionCase{"x1f", 31}, ConversionCase{"X1F", 31},
        ConversionCase{"0x1F", 31}, ConversionCase{"0XaB", 171}, ConversionCase{"-$10", -16},
        ConversionCase{"+0x10", 16}, ConversionCase{"$FFFFFFFF", -1},
        ConversionCase{"$80000000", INT_MIN}, ConversionCase{"-$80000000", INT_MIN},
        ConversionCase{"$000000001", 1}, ConversionCase{"$100000000", std::nullopt},
        ConversionCase{"  $C", 12},
        // what is no integer
        ConversionCase{"", std::nullopt}, ConversionCase{" ", std::nullopt},
        ConversionCase{"-", std::nullopt}, ConversionCase{"+", std::nullopt},
        ConversionCase{"$", std::nullopt}, ConversionCase{"0x", std::nullopt},
        ConversionCase{"x", std::nullopt}, ConversionCase{"13 ", std::nullopt},
        ConversionCase{"1 3", std::nullopt}, ConversionCase{"- 3", std::nullopt},
        ConversionCase{"\t3", std::nullopt}, ConversionCase{"1.5", std::nullopt},
        ConversionCase{"0x1G", std::nullopt}, ConversionCase{"--1", std::nullopt},
        ConversionCase{"12a", std::nullopt}, ConversionCase{"$-1", std::nullopt}));

TEST(IntegerConversionFailure, NamesTheTextAsRead) {
    try {
        StrToInt(" x");
        FAIL() << "no failure raised";
    } catch (const ConversionFailure& failure) {
        EXPECT_STREQ(failure.what(), "' x' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt(""), RuntimeFailure);
    EXPECT_EQ(StrToInt("$7FFFFFFF"), INT_MAX);
}

}  // namespace
}  // namespace vx40
