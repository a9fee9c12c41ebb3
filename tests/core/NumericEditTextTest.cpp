// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/NumericEditText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

namespace vx40 {
namespace {

struct ReadingCase {
    std::string text;
    char decimalSeparator;
    double value;
    bool beep;
};

void PrintTo(const ReadingCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" with " << c.decimalSeparator;
}

class NumericEditReadingTest : public testing::TestWithParam<ReadingCase> {};

TEST_P(NumericEditReadingTest, CollectsDigitsAndTheDecimalSeparator) {
    const auto& c = GetParam();
    const auto reading = ReadNumericEditText(c.text, c.decimalSeparator);
    EXPECT_DOUBLE_EQ(reading.value, c.value) << c.text;
    EXPECT_EQ(reading.beep, c.beep) << c.text;
    EXPECT_FALSE(reading.textToZero);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumericEditReadingTest,
    testing::Values(
        // C locale: "," groups, "." separates decimals
        ReadingCase{"798,300", '.', 798300, false}, ReadingCase{"798300", '.', 798300, false},
        ReadingCase{"(5)", '.', -5, false}, ReadingCase{"5-", '.', -5, false},
        ReadingCase{"+12", '.', 12, false}, ReadingCase{" 1 2 ", '.', 12, false},
        ReadingCase{"2.5", '.', 2.5, false}, ReadingCase{"1.2.3", '.', 0, true},
        ReadingCase{"abc", '.', 0, true}, ReadingCase{"-", '.', 0, true},
        ReadingCase{".", '.', 0, true},
        // German locale: "." groups, "," separates decimals
        ReadingCase{"798.300", ',', 798300, false}, ReadingCase{"2,5", ',', 2.5, false},
        ReadingCase{"(1.234,5)", ',', -1234.5, false}, ReadingCase{"1,2,3", ',', 0, true},
        ReadingCase{"kHz", ',', 0, true}));

TEST(NumericEditReading, AnEmptyTextBecomesZero) {
    const auto reading = ReadNumericEditText("", '.');
    EXPECT_TRUE(reading.textToZero);
    EXPECT_FALSE(reading.beep);
    EXPECT_EQ(reading.value, 0.0);
}

TEST(NumericEditReading, IntegerValueRoundsHalfToEvenAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(RoundHalfEvenToInt32(2.5), 2);
    EXPECT_EQ(RoundHalfEvenToInt32(3.5), 4);
    EXPECT_EQ(RoundHalfEvenToInt32(-2.5), -2);
    EXPECT_EQ(RoundHalfEvenToInt32(2.6), 3);
    EXPECT_EQ(RoundHalfEvenToInt32(2147483647.0), INT_MAX);
    EXPECT_EQ(RoundHalfEvenToInt32(-2147483648.0), INT_MIN);
    EXPECT_FALSE(RoundHalfEvenToInt32(2147483648.0));
    // 2^32 + 798300 must never read as the channel 798300
    const auto pasted = ReadNumericEditText("4295765596", '.');
    EXPECT_FALSE(RoundHalfEvenToInt32(pasted.value));
    EXPECT_FALSE(RoundHalfEvenToInt32(ReadNumericEditText(std::string(20, '9'), '.').value));
    EXPECT_TRUE(ReadNumericEditText(std::string(400, '9'), '.').beep);
}

TEST(NumericEditFormat, GroupsDigitsAndBracketsNegatives) {
    EXPECT_EQ(FormatNumericEditValue(798300, ","), "798,300");
    EXPECT_EQ(FormatNumericEditValue(798300, "."), "798.300");
    EXPECT_EQ(FormatNumericEditValue(1234567, "."), "1.234.567");
    EXPECT_EQ(FormatNumericEditValue(999, ","), "999");
    EXPECT_EQ(FormatNumericEditValue(-5, ","), "(5)");
    EXPECT_EQ(FormatNumericEditValue(-1000, ","), "(1,000)");
    EXPECT_EQ(FormatNumericEditValue(0, ","), "0");
    EXPECT_EQ(FormatNumericEditValue(-0.2, ","), "0");
    EXPECT_EQ(FormatNumericEditValue(12.6, ","), "13");
}

TEST(NumericEditText, WholeNumberDigitsAreThoseOfPrintf) {
    const double values[] = {0.0,
                             1.0,
                             999.0,
                             1000.0,
                             999999999.0,
                             1000000000.0,
                             4294967296.0,
                             9007199254740992.0,
                             9007199254740994.0,
                             1e20,
                             1e22,
                             1e23,
                             123456789012345678901234567890.0,
                             std::ldexp(1.0, 1023),
                             1.7976931348623157e308};
    for (const double value : values) {
        char expected[400];
        std::snprintf(expected, sizeof expected, "%.0f", value);
        EXPECT_EQ(WholeNumberDigits(value), expected) << expected;
    }
}

}  // namespace
}  // namespace vx40
