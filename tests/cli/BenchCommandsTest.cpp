// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "ChannelImage.h"
#include "CsvText.h"
#include "ToolProcess.h"
#include "tests/core/TempDir.h"

namespace vx40::cli_test {
namespace {

using testutil::TempDir;
using testutil::WriteBytes;

std::vector<std::string> Head(const std::vector<std::string>& lines, std::size_t count) {
    return {lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(count)};
}

// Worked by hand: 798300 and 145125 kHz are whole multiples of 25000, 12500, 6250, 5000, 3125
// and 2500 Hz with N0 not 0; 20000 and 10000 Hz reach 798300 only.
TEST(Raster, RowsByFrequenciesReachedThenRatio) {
    const ToolOutput output = RunTool({"raster", "--csv", "798300", "145125"});
    ASSERT_EQ(output.exitCode, 0) << output.err;
    const std::vector<std::string> lines = Lines(output.out);
    ASSERT_EQ(lines.size(), 65u);
    EXPECT_EQ(Head(lines, 10),
              (std::vector<std::string>{"R0,R1,R2,Ratio,Erreicht,Abgelehnt", "12,5,1,25000,2,",
                                        "12,5,2,12500,2,", "12,5,4,6250,2,", "15,5,4,5000,2,",
                                        "12,5,8,3125,2,", "15,5,8,2500,2,", "15,5,1,20000,1,145125",
                                        "15,5,2,10000,1,145125", "13,5,1,23076,0,798300 145125"}));

    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "# Kanalplan\n798300\n\n145125\n");
    EXPECT_EQ(RunTool({"raster", "--csv", "--plan", dir.Path("plan.txt")}).out, output.out);
}

TEST(Raster, TiesGoByPrescalerValuesAndNoCombinationMeansExitOne) {
    // 1 kHz lies below every ratio: nothing is reached, so the ratio alone orders the rows, and
    // 12/7/1 and 14/6/1 share 17857 Hz.
    const ToolOutput refused = RunTool({"raster", "--csv", "1"});
    EXPECT_EQ(refused.exitCode, 1);
    const std::vector<std::string> lines = Lines(refused.out);
    const auto at = std::find(lines.begin(), lines.end(), "12,7,1,17857,0,1");
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(*(at + 1), "14,6,1,17857,0,1");

    // With a crystal of 0 every ratio is 0 and the prescalers alone order the rows.
    const std::vector<std::string> zero =
        Lines(RunTool({"raster", "--csv", "--crystal", "0", "798300"}).out);
    EXPECT_EQ(Head(zero, 6),
              (std::vector<std::string>{"R0,R1,R2,Ratio,Erreicht,Abgelehnt", "12,5,1,0,0,798300",
                                        "12,5,2,0,0,798300", "12,5,4,0,0,798300",
                                        "12,5,8,0,0,798300", "12,6,1,0,0,798300"}));

    EXPECT_EQ(RunTool({"raster"}).exitCode, 2);
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "798300\n");
    EXPECT_EQ(RunTool({"raster", "--plan", dir.Path("plan.txt"), "798300"}).exitCode, 2);
}

// Each image is planned with its own prescalers and read back by inspect alone; the frequency
// is ratio x N, worked by hand from the truncating divisions of 1500000 Hz.
TEST(Inspect, ReadsEachChannelByItsOwnPrescalers) {
    struct Planned {
        std::vector<std::string> options;
        std::string khz;
        std::string row;
    };
    const std::vector<Planned> cases = {
        {{}, "798300", "1,12,5,2,12500,63864,798300.000,1,04"},
        {{"--r0", "13"}, "5769", "1,13,5,2,11538,500,5769.000,1,04"},
        {{"--r0", "14", "--r1", "7", "--r2", "8", "--no-modulator"},
         "1913",
         "1,14,7,8,1913,1000,1913.000,0,04"},
        {{"--r0", "15", "--r1", "9", "--r2", "4", "--test"},
         "2777",
         "1,15,9,4,2777,1000,2777.000,1,00"},
    };
    for (const Planned& planned : cases) {
        TempDir dir;
        WriteBytes(dir.Path("plan.txt"), planned.khz + "\n");
        std::vector<std::string> plan = {"plan"};
        plan.insert(plan.end(), planned.options.begin(), planned.options.end());
        plan.insert(plan.end(), {dir.Path("plan.txt"), "-o", dir.Path("o.bin")});
        ASSERT_EQ(RunTool(plan).exitCode, 0) << planned.row;

        const ToolOutput output = RunTool({"inspect", "--csv", dir.Path("o.bin")});
        ASSERT_EQ(output.exitCode, 0) << output.err;
        const std::vector<std::string> lines = Lines(output.out);
        ASSERT_EQ(lines.size(), 17u);
        EXPECT_EQ(lines[0], "Kanal,R0,R1,R2,Ratio,N,Frequenz,Modulator,Test");
        EXPECT_EQ(lines[1], planned.row);
        EXPECT_EQ(lines[2], "2,leer,,,,,,,");
    }
}

TEST(Inspect, FrequencyOfAnyNIsExactToTheHertz) {
    // R0 13 (the N0 select bit), R1 5 and R2 2 (D7 = 1 + 4), N = 1: ratio x N = 11538 Hz.
    TempDir dir;
    WriteBytes(dir.Path("in.bin"),
               ImageBytes({{5, {0x05, 0x08, 0x00, 0x00, 0x00, 0x08, 0x01, 0x04}}}));
    const std::vector<std::string> lines =
        Lines(RunTool({"inspect", "--csv", dir.Path("in.bin")}).out);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[5], "5,13,5,2,11538,1,11.538,1,04");
    const std::vector<std::string> halved =
        Lines(RunTool({"inspect", "--csv", "--crystal", "3000000", dir.Path("in.bin")}).out);
    ASSERT_EQ(halved.size(), 17u);
    EXPECT_EQ(halved[5], "5,13,5,2,5769,1,5.769,1,04");
}

TEST(Diff, ComparesNibblesOfImagesAndChannelSetFiles) {
    TempDir dir;
    WriteBytes(dir.Path("a.txt"), "798300\n145125\n");
    WriteBytes(dir.Path("b.txt"), "798300\n145150\n");
    ASSERT_EQ(
        RunTool({"plan", dir.Path("a.txt"), "-o", dir.Path("a.bin"), "--vx4", dir.Path("a.vx4")})
            .exitCode,
        0);
    ASSERT_EQ(RunTool({"plan", dir.Path("b.txt"), "-o", dir.Path("b.bin")}).exitCode, 0);

    const ToolOutput same = RunTool({"diff", "--csv", dir.Path("a.vx4"), dir.Path("a.bin")});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "Kanal,Nibble,A,B\n");

    // 145125 kHz is N 11610 = 0 x 16384 + 90 x 128 + 90, 145150 kHz N 11612: only D1 differs.
    const ToolOutput csv = RunTool({"diff", "--csv", dir.Path("a.bin"), dir.Path("b.bin")});
    EXPECT_EQ(csv.exitCode, 1);
    EXPECT_EQ(csv.out, "Kanal,Nibble,A,B\n2,D1,0A,0C\n");
    const ToolOutput readable = RunTool({"diff", dir.Path("a.bin"), dir.Path("b.bin")});
    EXPECT_EQ(readable.exitCode, 1);
    EXPECT_EQ(readable.out, "Kanal 2: 145125.000 kHz gegen 145150.000 kHz (D1 verschieden)\n");

    WriteBytes(dir.Path("short.bin"), std::string(127, '\0'));
    EXPECT_EQ(RunTool({"diff", dir.Path("a.bin"), dir.Path("short.bin")}).exitCode, 2);
}

// Every format written by plan and encode reads back through decode as the bin image does, and
// the programmers' own converter turns it into the same 128 bytes.
TEST(ImageFormats, PlanAndEncodeWriteWhatDecodeAndSrecCatRead) {
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "798300\n145125\n");
    ASSERT_EQ(
        RunTool({"plan", dir.Path("plan.txt"), "-o", dir.Path("o.bin"), "--vx4", dir.Path("o.vx4")})
            .exitCode,
        0);
    const std::string decoded = RunTool({"decode", "--csv", dir.Path("o.bin")}).out;
    for (const auto& [format, srecCatName] :
         {std::pair{"ihex", "-intel"}, std::pair{"srec", "-motorola"}}) {
        const std::string planned = dir.Path(std::string("p.") + format);
        const std::string encoded = dir.Path(std::string("e.") + format);
        ASSERT_EQ(
            RunTool({"plan", dir.Path("plan.txt"), "-o", planned, "--format", format}).exitCode, 0);
        ASSERT_EQ(
            RunTool({"encode", dir.Path("o.vx4"), "-o", encoded, "--format", format}).exitCode, 0);
        EXPECT_EQ(testutil::ReadBytes(planned), testutil::ReadBytes(encoded));
        EXPECT_EQ(RunTool({"decode", "--csv", planned}).out, decoded) << format;
        EXPECT_EQ(RunTool({"diff", planned, dir.Path("o.bin")}).exitCode, 0) << format;

        const std::string converted = dir.Path(std::string("srec_cat.") + format + ".bin");
        const std::string command =
            "srec_cat '" + planned + "' " + srecCatName + " -o '" + converted + "' -binary";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        EXPECT_EQ(testutil::ReadBytes(converted), testutil::ReadBytes(dir.Path("o.bin")));
    }
    const ToolOutput wrong =
        RunTool({"plan", dir.Path("plan.txt"), "-o", dir.Path("x"), "--format", "hex"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_NE(wrong.err.find("\"hex\" ist kein Format: bin, ihex oder srec"), std::string::npos)
        << wrong.err;
}

}  // namespace
}  // namespace vx40::cli_test
