// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <ostream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "CaseName.h"
#include "ToolProcess.h"
#include "tests/core/TempDir.h"

namespace vx40::cli_test {
namespace {

using testutil::ReadBytes;

const std::string kToolUsage =
    "Aufruf: vx40-tool BEFEHL [OPTIONEN] ... (Befehle: calc, plan, decode, show, encode, raster, "
    "inspect, diff, sheet; BEFEHL --help zeigt die Hilfe)\n";
const std::string kCalcUsage = "Aufruf: vx40-tool calc [OPTIONEN] [--csv] FREQ_KHZ...\n";

struct UsageCase {
    const char* name;
    Arguments arguments;
    std::string message;  // the first line, without "vx40-tool: "
    std::string usage;
};
void PrintTo(const UsageCase& row, std::ostream* out) {
    *out << row.name;
}

class UsageErrorTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrorTest, PrintsOneLineAndTheUsageAndExitsWithTwo) {
    const ToolOutput output = RunTool(GetParam().arguments);
    EXPECT_EQ(output.err, "vx40-tool: " + GetParam().message + "\n" + GetParam().usage);
    EXPECT_EQ(output.out, "");
    EXPECT_EQ(output.exitCode, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, UsageErrorTest,
    ::testing::Values(
        UsageCase{"NoCommand", {}, "kein Befehl angegeben", kToolUsage},
        UsageCase{"UnknownCommand", {"frobnicate"}, "unbekannter Befehl: frobnicate", kToolUsage},
        UsageCase{"UnknownToolOption", {"--bogus"}, "unbekannte Option: --bogus", kToolUsage},
        UsageCase{"UnknownCommandOption",
                  {"calc", "--bogus", "798300"},
                  "unbekannte Option: --bogus",
                  kCalcUsage},
        UsageCase{"MissingFrequency", {"calc"}, "Argument fehlt: FREQ_KHZ", kCalcUsage},
        UsageCase{"MissingOptionValue", {"calc", "798300", "--r0"}, "Wert fehlt: --r0", kCalcUsage},
        UsageCase{"FractionalFrequency",
                  {"calc", "798300.5"},
                  "\"798300.5\" ist keine Frequenz in kHz",
                  kCalcUsage},
        UsageCase{
            "FrequencyWithPlus", {"calc", "+5"}, "\"+5\" ist keine Frequenz in kHz", kCalcUsage},
        UsageCase{"FrequencyOutOfRange",
                  {"calc", "2147483648"},
                  "\"2147483648\" ist keine Frequenz in kHz",
                  kCalcUsage},
        UsageCase{"FrequencyWithBlank",
                  {"calc", " 798300"},
                  "\" 798300\" ist keine Frequenz in kHz",
                  kCalcUsage},
        UsageCase{"CrystalNoNumber",
                  {"calc", "--crystal", "6e6", "798300"},
                  "--crystal: \"6e6\" ist keine ganze Zahl von 0 bis 10000000",
                  kCalcUsage},
        UsageCase{"CrystalAboveRange",
                  {"calc", "--crystal", "10000001", "798300"},
                  "--crystal: \"10000001\" ist keine ganze Zahl von 0 bis 10000000",
                  kCalcUsage},
        UsageCase{"CrystalBelowRange",
                  {"calc", "--crystal=-1", "798300"},
                  "--crystal: \"-1\" ist keine ganze Zahl von 0 bis 10000000",
                  kCalcUsage},
        UsageCase{"FlagWithValue",
                  {"calc", "--csv=maybe", "798300"},
                  "ungültiger Wert für --csv: maybe",
                  kCalcUsage}),
    CaseName());

struct HelpCase {
    const char* name;
    Arguments arguments;
    std::string usage;
};
void PrintTo(const HelpCase& row, std::ostream* out) {
    *out << row.name;
}

class HelpTest : public ::testing::TestWithParam<HelpCase> {};

TEST_P(HelpTest, PrintsTheUsageOnStandardOutputAndExitsWithZero) {
    const ToolOutput output = RunTool(GetParam().arguments);
    EXPECT_NE(output.out.find(GetParam().usage), std::string::npos) << output.out;
    EXPECT_EQ(output.err, "");
    EXPECT_EQ(output.exitCode, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, HelpTest,
    ::testing::Values(HelpCase{"Tool", {"--help"}, kToolUsage},
                      HelpCase{"ToolShort", {"-h"}, kToolUsage},
                      HelpCase{"Calc", {"calc", "--help"}, kCalcUsage},
                      HelpCase{"CalcWithOtherArguments", {"calc", "1", "-h"}, kCalcUsage}),
    CaseName());

TEST(Version, PrintsTheNameAndTheVersionOfTheBuild) {
    const ToolOutput output = RunTool({"--version"});
    EXPECT_EQ(output.out, std::string("vx40-tool ") + VX40_VERSION + "\n");
    EXPECT_EQ(output.err, "");
    EXPECT_EQ(output.exitCode, 0);
    // An option of the tool, not of a command.
    EXPECT_EQ(RunTool({"calc", "--version"}).exitCode, 2);
}

TEST(Help, ListsEveryCommandAndTheCalculationOptions) {
    const std::string tool = RunTool({"--help"}).out;
    for (const char* command : {"calc", "plan", "decode", "show", "encode"}) {
        EXPECT_NE(tool.find(std::string("  ") + command + " "), std::string::npos) << command;
    }
    const std::string calc = RunTool({"calc", "--help"}).out;
    for (const char* option : {"--crystal HZ", "--r0 TEXT", "--r1 TEXT", "--r2 TEXT",
                               "--no-modulator", "--test", "--csv"}) {
        EXPECT_NE(calc.find(option), std::string::npos) << option;
    }
}

// The completion offers the commands of the help, in its order, and the manual page shows each.
TEST(Help, TheCompletionAndTheManualPageKnowEveryCommand) {
    std::smatch listed;
    const std::string usage = RunTool({"--help"}).out;
    ASSERT_TRUE(std::regex_search(usage, listed, std::regex(R"(Befehle: ([a-z, ]+);)")));
    const std::string commands = std::regex_replace(listed[1].str(), std::regex(", "), " ");
    const std::string completion =
        ReadBytes(VX40_SOURCE_DIR "/packaging/vx40-tool.bash-completion");
    EXPECT_NE(completion.find("commands=\"" + commands + "\""), std::string::npos) << commands;
    const std::string manual = ReadBytes(VX40_SOURCE_DIR "/packaging/vx40-tool.1.in");
    std::istringstream names(commands);
    for (std::string name; names >> name;) {
        EXPECT_NE(manual.find(".B vx40-tool " + name + "\n"), std::string::npos) << name;
        EXPECT_NE(manual.find(".B " + name + "\n"), std::string::npos) << name;
    }
}

}  // namespace
}  // namespace vx40::cli_test
