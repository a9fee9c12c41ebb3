// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "CaseName.h"
#include "ToolProcess.h"
#include "tests/core/TempDir.h"

namespace vx40::cli_test {
namespace {

using testutil::TempDir;
using testutil::WriteBytes;

const std::string kCsvHeader = "Frequenz,n0,n1,n2,D7,D6,D5,D4,D3,D2,D1,D0\n";
const std::string kRefusedNibbles = "0F,0F,0F,0F,0F,0F,0F,0F";

struct CsvCase {
    const char* name;
    Arguments arguments;
    std::string rows;  // after the header
    int exitCode;
};
void PrintTo(const CsvCase& row, std::ostream* out) {
    *out << row.name;
}

class CalcCsvTest : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CalcCsvTest, PrintsOneLinePerFrequency) {
    Arguments arguments{"calc", "--csv"};
    arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    const ToolOutput output = RunTool(arguments);
    EXPECT_EQ(output.out, kCsvHeader + GetParam().rows);
    EXPECT_EQ(output.exitCode, GetParam().exitCode);
}

// The rows are worked by hand from the ratio crystal / 4 / R0 / R1 / R2 and the nibble layout.
INSTANTIATE_TEST_SUITE_P(
    Rows, CalcCsvTest,
    ::testing::Values(
        // 12500 Hz, N = 63864 = 3 * 16384 + 114 * 128 + 120; N2 byte 0x83, N1 0x72, N0 0x78.
        CsvCase{"DefaultSettings", {"798300"}, "798300,120,114,3,05,08,03,07,02,07,08,04\n", 0},
        // 1785 Hz, N = 400200 = 24 * 16384 + 54 * 128 + 72; bytes 0x18, 0xB6, 0xC8, D7 3 + 12.
        CsvCase{"HighestPrescalersTestModeNoModulator",
                {"--r0", "15", "--r1", "7", "--r2", "8", "--no-modulator", "--test", "714357"},
                "714357,72,54,24,0F,01,08,0B,06,0C,08,00\n",
                0},
        // 798400 kHz is N = 499 * 128, which the search never reaches with N0 above 0.
        CsvCase{"RefusalBetweenTwoHits",
                {"798300", "798400", "798325"},
                "798300,120,114,3,05,08,03,07,02,07,08,04\n798400,,,," + kRefusedNibbles +
                    "\n798325,122,114,3,05,08,03,07,02,07,0A,04\n",
                1},
        CsvCase{"NegativeFrequency", {"-25"}, "-25,,,," + kRefusedNibbles + "\n", 1},
        // "13" sets the N0 select bit: N0 byte 104 + 128 = 0xE8.
        CsvCase{"R0ThirteenSetsTheN0SelectBit",
                {"--r0", "13", "11538"},
                "11538,104,7,0,05,08,00,00,07,0E,08,04\n",
                0},
        CsvCase{"CrystalOfZeroRefusesEverything",
                {"--crystal", "0", "1000"},
                "1000,,,," + kRefusedNibbles + "\n",
                1},
        // The highest crystal: ratio 20833 Hz, N = 1000 = 7 * 128 + 104.
        CsvCase{"HighestCrystal",
                {"--crystal", "10000000", "20833"},
                "20833,104,7,0,05,08,00,00,07,06,08,04\n",
                0}),
    CaseName());

struct RefusalCase {
    const char* name;
    Arguments arguments;
    std::string err;
};
void PrintTo(const RefusalCase& row, std::ostream* out) {
    *out << row.name;
}

class CalcRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(CalcRefusalTest, NamesTheNearestAchievableFrequencies) {
    Arguments arguments{"calc", "--csv"};
    arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    const ToolOutput output = RunTool(arguments);
    EXPECT_EQ(output.err, GetParam().err);
    EXPECT_EQ(output.exitCode, 1);
}

// With 12500 Hz a whole-kHz frequency is a multiple of 25 kHz, and N must not be a multiple of
// 128: 798375 and 798425 kHz are N = 63870 and 63874.
INSTANTIATE_TEST_SUITE_P(
    Frequencies, CalcRefusalTest,
    ::testing::Values(
        RefusalCase{"MultipleOf128",
                    {"798400"},
                    "798400 kHz: Frequenz nicht berechenbar (nächste erreichbare: 798375 kHz "
                    "darunter, 798425 kHz darüber)\n"},
        RefusalCase{"BetweenSteps",
                    {"798305"},
                    "798305 kHz: Frequenz nicht berechenbar (nächste erreichbare: 798300 kHz "
                    "darunter, 798325 kHz darüber)\n"},
        RefusalCase{"ZeroHasOnlyANeighbourAbove",
                    {"0"},
                    "0 kHz: Frequenz nicht berechenbar (nächste erreichbare: 25 kHz darüber)\n"},
        // The largest N, 2097151, is 26214387.5 kHz; the highest whole one is N = 2097150.
        RefusalCase{"AboveTheLargestNHasOnlyANeighbourBelow",
                    {"26214400"},
                    "26214400 kHz: Frequenz nicht berechenbar (nächste erreichbare: 26214375 kHz "
                    "darunter)\n"},
        RefusalCase{"RatioZeroHasNoNeighbours",
                    {"--crystal", "0", "1000"},
                    "1000 kHz: Frequenz nicht berechenbar\n"},
        RefusalCase{"OneLinePerRefusedFrequency",
                    {"798300", "-25", "798400"},
                    "-25 kHz: Frequenz nicht berechenbar (nächste erreichbare: 25 kHz darüber)\n"
                    "798400 kHz: Frequenz nicht berechenbar (nächste erreichbare: 798375 kHz "
                    "darunter, 798425 kHz darüber)\n"}),
    CaseName());

TEST(CalcTable, AlignsTheColumnsUnderTheRatio) {
    const ToolOutput output = RunTool({"calc", "798300", "798400", "-25"});
    EXPECT_EQ(output.out,
              "Ratio: 12500 Hz\n"
              "Frequenz  n0  n1 n2 D7 D6 D5 D4 D3 D2 D1 D0\n"
              "  798300 120 114  3 05 08 03 07 02 07 08 04\n"
              "  798400            0F 0F 0F 0F 0F 0F 0F 0F\n"
              "     -25            0F 0F 0F 0F 0F 0F 0F 0F\n");
    EXPECT_EQ(output.exitCode, 1);
}

TEST(CalcTable, DoesNotDependOnTheLocale) {
    const Arguments arguments{"calc", "798300", "798400"};
    const ToolOutput plain = RunTool(arguments, {"LC_ALL=C"});
    const ToolOutput german = RunTool(arguments, {"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"});
    EXPECT_EQ(german.out, plain.out);
    EXPECT_EQ(german.err, plain.err);
    EXPECT_EQ(german.exitCode, plain.exitCode);
}

struct PrescalerCase {
    const char* name;
    Arguments options;
    std::string message;  // after "vx40-tool: "
};
void PrintTo(const PrescalerCase& row, std::ostream* out) {
    *out << row.name;
}

class PrescalerTextTest : public ::testing::TestWithParam<PrescalerCase> {};

// A text that converts to a divisor of the list but is not its entry would divide by it while
// the select codes kept their start values: an image contradicting its own ratio.
TEST_P(PrescalerTextTest, OffTheListIsAUsageErrorOfEveryCommandThatTakesIt) {
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "798300\n");
    const std::vector<std::pair<Arguments, std::string>> commands = {
        {{"calc", "798300"}, "Aufruf: vx40-tool calc [OPTIONEN] [--csv] FREQ_KHZ...\n"},
        {{"calc", "--csv", "798300"}, "Aufruf: vx40-tool calc [OPTIONEN] [--csv] FREQ_KHZ...\n"},
        {{"plan", dir.Path("plan.txt"), "-o", dir.Path("o.bin"), "--vx4", dir.Path("o.vx4")},
         "Aufruf: vx40-tool plan [OPTIONEN] PLAN -o OUT.bin [--vx4 OUT.vx4] [--format "
         "FORMAT]\n"}};
    for (const auto& [command, usage] : commands) {
        Arguments arguments = command;
        arguments.insert(arguments.begin() + 1, GetParam().options.begin(),
                         GetParam().options.end());
        const ToolOutput output = RunTool(arguments);
        EXPECT_EQ(output.err, "vx40-tool: " + GetParam().message + "\n" + usage) << command[0];
        EXPECT_EQ(output.out, "") << command[0];
        EXPECT_EQ(output.exitCode, 2) << command[0];
    }
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"plan.txt"});
}

const std::string kR0List = "\" ist kein Eintrag der Liste 12, 13, 14, 15";
const std::string kR1List = "\" ist kein Eintrag der Liste 9, 5, 6, 7";
const std::string kR2List = "\" ist kein Eintrag der Liste 1, 2, 4, 8";

INSTANTIATE_TEST_SUITE_P(
    Texts, PrescalerTextTest,
    ::testing::Values(PrescalerCase{"LeadingBlank", {"--r0", " 15"}, "--r0: \" 15" + kR0List},
                      PrescalerCase{"LeadingZero", {"--r0", "015"}, "--r0: \"015" + kR0List},
                      PrescalerCase{"Plus", {"--r0", "+15"}, "--r0: \"+15" + kR0List},
                      PrescalerCase{"CHex", {"--r0", "0x0F"}, "--r0: \"0x0F" + kR0List},
                      PrescalerCase{"PascalHex", {"--r0", "$F"}, "--r0: \"$F" + kR0List},
                      PrescalerCase{"TrailingBlank", {"--r0", "12 "}, "--r0: \"12 " + kR0List},
                      PrescalerCase{"Empty", {"--r0", ""}, "--r0: \"" + kR0List},
                      PrescalerCase{"Escape", {"--r0", "\x1b[2J"}, "--r0: \"\\x1b[2J" + kR0List},
                      PrescalerCase{"R1NoInteger", {"--r1", "x"}, "--r1: \"x" + kR1List},
                      PrescalerCase{"R1OfAnotherList", {"--r1", "8"}, "--r1: \"8" + kR1List},
                      PrescalerCase{"R2Zero", {"--r2", "0"}, "--r2: \"0" + kR2List},
                      PrescalerCase{"R2OffTheList", {"--r2", "3"}, "--r2: \"3" + kR2List},
                      PrescalerCase{"R2LeadingZero", {"--r2", "02"}, "--r2: \"02" + kR2List},
                      PrescalerCase{
                          "FirstOptionFirst", {"--r2", "z", "--r0", "y"}, "--r0: \"y" + kR0List}),
    CaseName());

}  // namespace
}  // namespace vx40::cli_test
