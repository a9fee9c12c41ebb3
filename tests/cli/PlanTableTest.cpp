// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChannelImage.h"
#include "CsvText.h"
#include "ToolProcess.h"
#include "tests/core/TempDir.h"

namespace vx40::cli_test {
namespace {

using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;

// Channels 1 to 3 as a plan of one kHz number per line.
const std::string kKhzPlan = "798300\n145125\n438975\n";

// However a spreadsheet writes the same three channels, the image is the kHz plan's.
TEST(PlanTable, EveryWayOfWritingTheSamePlanGivesTheKhzPlansImage) {
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"SemicolonMhzDecimalComma",
         "Kanal;Name;Frequenz (MHz)\n1;Ort;798,3\n2;Relais;145,125\n3;UHF;438,975\n"},
        {"CommaKhzPointQuotes",
         "Channel,Frequency [kHz],Remark\n1,\"798300\",\"a, "
         "\"\"b\"\"\"\n2,145125.000,\n3,438975,\n"},
        {"TabHzAnyOrder",
         "Bemerkung\tFrequenz/Hz\tKanal\n-\t438975000\t3\n-\t798300000\t1\n-\t145125000\t2\n"},
        {"NoChannelColumnGhz", "FREQUENZ in GHz\n0.7983\n0,145125\n0.438975\n"},
        {"UnitsInTheValues",
         "Frequenz (MHz);Kanal\n798300 kHz;1\n\"145,125 MHz\";2\n0,438975 GHz;3\n"},
        {"NoUnitIsKhz", "frequency\n798300\n145125\n438975\n"},
        {"BomCrLfEmptyRows",
         "\xEF\xBB\xBF"
         "Kanal;Frequenz (MHz)\r\n\r\n1;798,300\r\n;\r\n2;145,125\r\n3;438,975\r\n"},
        {"Windows1252Header",
         "# Kanalplan\nGr\xF6\xDF\x65;Frequenz "
         "(MHz);Kanal\n\xE4;798,3;1\n\x80;145,125;2\n;438,975;3\n"},
        {"Utf8Header", "Größe;Frequenz (MHz);Kanal\nä;798,3;1\n€;145,125;2\n;438,975;3\n"},
    };
    TempDir dir;
    WriteBytes(dir.Path("khz.txt"), kKhzPlan);
    ASSERT_EQ(RunTool({"plan", dir.Path("khz.txt"), "-o", dir.Path("khz.bin")}).exitCode, 0);
    const std::string expected = ReadBytes(dir.Path("khz.bin"));
    for (const auto& row : cases) {
        WriteBytes(dir.Path("plan.csv"), row.text);
        const ToolOutput planned = RunTool({"plan", dir.Path("plan.csv"), "-o", "-"});
        EXPECT_EQ(planned.exitCode, 0) << row.name << ": " << planned.err;
        EXPECT_EQ(planned.out, expected) << row.name;
        const ToolOutput raster = RunTool({"raster", "--csv", "--plan", dir.Path("plan.csv")});
        EXPECT_EQ(raster.out, RunTool({"raster", "--csv", "--plan", dir.Path("khz.txt")}).out)
            << row.name;
    }
}

// Channels the table does not list are 0x0F in the image and empty rows in the channel table.
TEST(PlanTable, UnlistedChannelsStayEmpty) {
    TempDir dir;
    WriteBytes(dir.Path("plan.csv"), "Kanal;Frequenz (MHz)\n16;798,325\n2;798,3\n5;\n");
    const ToolOutput planned = RunTool(
        {"plan", dir.Path("plan.csv"), "-o", dir.Path("o.bin"), "--vx4", dir.Path("o.vx4")});
    ASSERT_EQ(planned.exitCode, 0) << planned.err;
    EXPECT_EQ(ReadBytes(dir.Path("o.bin")),
              ImageBytes({{2, {5, 8, 3, 7, 2, 7, 8, 4}}, {16, {5, 8, 3, 7, 2, 7, 10, 4}}}));
    const std::vector<std::string> rows = Lines(RunTool({"show", "--csv", dir.Path("o.vx4")}).out);
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows[2], "2,798300,120,114,3,05,08,03,07,02,07,08,04");
    EXPECT_EQ(rows[16], "16,798325,122,114,3,05,08,03,07,02,07,0A,04");
    for (const int empty : {1, 3, 4, 5, 15}) {
        EXPECT_EQ(rows[static_cast<std::size_t>(empty)], std::to_string(empty) + ",,,,,,,,,,,,");
    }
    // A header alone is a plan of no channels, as an empty plan is.
    WriteBytes(dir.Path("header.csv"), "Frequenz (MHz)");
    ASSERT_EQ(RunTool({"plan", dir.Path("header.csv"), "-o", dir.Path("h.bin")}).exitCode, 0);
    EXPECT_EQ(ReadBytes(dir.Path("h.bin")), ImageBytes({}));
}

}  // namespace
}  // namespace vx40::cli_test
