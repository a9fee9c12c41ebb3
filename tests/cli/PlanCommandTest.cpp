// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "CaseName.h"
#include "ChannelImage.h"
#include "ChecksumLine.h"
#include "CsvText.h"
#include "ToolProcess.h"
#include "tests/core/TempDir.h"

namespace vx40::cli_test {
namespace {

using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;

const std::string kPlanUsage =
    "Aufruf: vx40-tool plan [OPTIONEN] PLAN -o OUT.bin [--vx4 OUT.vx4] [--format FORMAT]\n";
const std::string kDecodeHeader = "Kanal,Frequenz,n0,n1,n2,D7,D6,D5,D4,D3,D2,D1,D0";

// Whole kHz at 12.5 kHz steps means an even N; N = 4k + 2 is never a multiple of 128, so every
// odd multiple of 25 kHz is reached. Channel 1 is the worked channel 798300 kHz (N = 63864).
const std::vector<std::string> kSixteenChannels = {
    "798300", "144075", "145125", "145975", "146525",  "430025",  "433075",  "438975",
    "439125", "798325", "798375", "798425", "1240075", "1296025", "2320125", "5760075"};

std::string PlanText(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\n";
    }
    return text;
}

TEST(Plan, SixteenChannelsComeBackAsPlannedThroughDecode) {
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), PlanText(kSixteenChannels));
    const ToolOutput planned = RunTool(
        {"plan", dir.Path("plan.txt"), "-o", dir.Path("out.bin"), "--vx4", dir.Path("out.vx4")});
    ASSERT_EQ(planned.exitCode, 0) << planned.err;
    EXPECT_EQ(planned.out, "");
    EXPECT_EQ(planned.err, ChecksumLine(dir.Path("out.bin"), "Summe 0x029C, CRC-32 0xAB48F84D"));

    const std::string image = ReadBytes(dir.Path("out.bin"));
    ASSERT_EQ(image.size(), 128u);
    // Channel 1 is the last block, D0 first: 04 08 07 02 07 03 08 05.
    EXPECT_EQ(image.substr(120), std::string("\x04\x08\x07\x02\x07\x03\x08\x05", 8));

    Arguments calcArguments{"calc", "--csv"};
    calcArguments.insert(calcArguments.end(), kSixteenChannels.begin(), kSixteenChannels.end());
    const std::vector<std::string> calculated = Lines(RunTool(calcArguments).out);
    const ToolOutput decoded = RunTool({"decode", "--csv", dir.Path("out.bin")});
    ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
    const std::vector<std::string> rows = Lines(decoded.out);
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows[0], kDecodeHeader);
    ASSERT_EQ(calculated.size(), 17u);
    for (std::size_t channel = 1; channel <= 16; ++channel) {
        EXPECT_EQ(rows[channel], std::to_string(channel) + "," + calculated[channel]) << channel;
        EXPECT_EQ(Fields(rows[channel])[1], kSixteenChannels[channel - 1]) << channel;
    }

    // The channel-set file holds the same 16 rows, the planned frequency in column 0.
    const ToolOutput shown = RunTool({"show", "--csv", dir.Path("out.vx4")});
    EXPECT_EQ(shown.out, decoded.out);
}

TEST(Plan, ChannelSetFileIsTheWindowsLayoutOfExactly208Lines) {
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "798300\n");
    const ToolOutput planned = RunTool(
        {"plan", dir.Path("plan.txt"), "-o", dir.Path("o.bin"), "--vx4", dir.Path("o.vx4")});
    ASSERT_EQ(planned.exitCode, 0) << planned.err;
    const std::string text = ReadBytes(dir.Path("o.vx4"));
    std::string expected =
        "[Wert1]\r\nFrequenz=798300\r\nN0=120\r\nN1=114\r\nN2=3\r\nD7=05\r\nD6=08\r\nD5=03\r\n"
        "D4=07\r\nD3=02\r\nD2=07\r\nD1=08\r\nD0=04\r\n";
    for (int row = 2; row <= 16; ++row) {
        expected += "[Wert" + std::to_string(row) + "]\r\n";
        for (const char* key :
             {"Frequenz", "N0", "N1", "N2", "D7", "D6", "D5", "D4", "D3", "D2", "D1", "D0"}) {
            expected += std::string(key) + "=\r\n";
        }
    }
    EXPECT_EQ(text, expected);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"o.bin", "o.vx4", "plan.txt"}));
}

TEST(Plan, ReplacesAnOlderChannelSetFileWhole) {
    TempDir dir;
    WriteBytes(dir.Path("o.vx4"), "[Fremd]\r\nx=1\r\n[Wert1]\r\nD0=0F\r\nAlt=ja\r\n");
    WriteBytes(dir.Path("plan.txt"), "798300\n");
    ASSERT_EQ(
        RunTool({"plan", dir.Path("plan.txt"), "-o", dir.Path("o.bin"), "--vx4", dir.Path("o.vx4")})
            .exitCode,
        0);
    const std::string text = ReadBytes(dir.Path("o.vx4"));
    EXPECT_EQ(text.find("Fremd"), std::string::npos);
    EXPECT_EQ(text.find("Alt=ja"), std::string::npos);
    EXPECT_EQ(Lines(text).size(), 208u);
}

TEST(Plan, SkipsCommentsAndBlankLinesAndLeavesTheOtherChannelsEmpty) {
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"),
               "# Relais Nord\r\n798300\r\n\r\n   \r\n  # Reserve\r\n 798325 \r\n");
    const ToolOutput planned = RunTool({"plan", dir.Path("plan.txt"), "-o", dir.Path("o.bin")});
    ASSERT_EQ(planned.exitCode, 0) << planned.err;
    // N = 63866 for 798325 kHz: N0 122 (0x7A), so D1 0A and D2 07.
    EXPECT_EQ(ReadBytes(dir.Path("o.bin")),
              ImageBytes({{1, {5, 8, 3, 7, 2, 7, 8, 4}}, {2, {5, 8, 3, 7, 2, 7, 10, 4}}}));
    const std::vector<std::string> rows =
        Lines(RunTool({"decode", "--csv", dir.Path("o.bin")}).out);
    ASSERT_EQ(rows.size(), 17u);
    EXPECT_EQ(rows[2], "2,798325,122,114,3,05,08,03,07,02,07,0A,04");
    // An empty row is 0x0F throughout: N = 2097151, 26214387.5 kHz with the half dropped.
    EXPECT_EQ(rows[3], "3,26214387,127,127,127,0F,0F,0F,0F,0F,0F,0F,0F");
    EXPECT_EQ(rows[16], "16,26214387,127,127,127,0F,0F,0F,0F,0F,0F,0F,0F");
}

TEST(Plan, PassesTheCalculationOptionsToEveryChannel) {
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "714357\n");
    ASSERT_EQ(RunTool({"plan", "--r0", "15", "--r1", "7", "--r2", "8", "--no-modulator", "--test",
                       dir.Path("plan.txt"), "-o", dir.Path("o.bin")})
                  .exitCode,
              0);
    EXPECT_EQ(ReadBytes(dir.Path("o.bin")),
              ImageBytes({{1, {0x0F, 0x01, 0x08, 0x0B, 0x06, 0x0C, 0x08, 0x00}}}));
}

struct RefusedPlanCase {
    const char* name;
    std::string plan;
    Arguments options;
    std::string err;
    int exitCode;
};
void PrintTo(const RefusedPlanCase& row, std::ostream* out) {
    *out << row.name;
}

class RefusedPlanTest : public ::testing::TestWithParam<RefusedPlanCase> {};

// Whatever goes wrong, both outputs keep their old bytes and no other file appears.
TEST_P(RefusedPlanTest, WritesNothing) {
    for (const bool existing : {false, true}) {
        TempDir dir;
        WriteBytes(dir.Path("plan.txt"), GetParam().plan);
        if (existing) {
            WriteBytes(dir.Path("o.bin"), "old image");
            WriteBytes(dir.Path("o.vx4"), "[Wert1]\r\nFrequenz=1\r\n");
        }
        const std::vector<std::string> before = dir.Names();
        Arguments arguments{"plan"};
        arguments.insert(arguments.end(), GetParam().options.begin(), GetParam().options.end());
        arguments.insert(arguments.end(), {dir.Path("plan.txt"), "-o", dir.Path("o.bin"), "--vx4",
                                           dir.Path("o.vx4")});
        const ToolOutput output = RunTool(arguments);
        EXPECT_EQ(output.err, GetParam().err);
        EXPECT_EQ(output.out, "");
        EXPECT_EQ(output.exitCode, GetParam().exitCode);
        EXPECT_EQ(dir.Names(), before);
        if (existing) {
            EXPECT_EQ(ReadBytes(dir.Path("o.bin")), "old image");
            EXPECT_EQ(ReadBytes(dir.Path("o.vx4")), "[Wert1]\r\nFrequenz=1\r\n");
        }
    }
}

std::string SeventeenChannels() {
    std::string plan;
    for (int channel = 1; channel <= 18; ++channel) {
        plan += "798300\n";
    }
    return plan;
}

// Lines 1 to 16 are refused for what they hold, lines 17 to 22 for being more than 16 channels.
std::string TwentyTwoOffendingLines() {
    std::string plan;
    for (int line = 1; line <= 22; ++line) {
        plan += "x\n";
    }
    return plan;
}

std::string TwentyOffendingLinesText() {
    std::string text;
    for (int line = 1; line <= 20; ++line) {
        text += "Zeile " + std::to_string(line) +
                (line <= 16 ? ": \"x\" ist keine Frequenz in kHz\n" : ": mehr als 16 Kanäle\n");
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Plans, RefusedPlanTest,
    ::testing::Values(
        RefusedPlanCase{"EveryOffendingLineWithItsNumber",
                        "# Kanalplan\n798300\nabc\n798400\n\n12.5\n798325\n+5\n",
                        {},
                        "Zeile 3: \"abc\" ist keine Frequenz in kHz\n"
                        "Zeile 4: 798400 kHz: Frequenz nicht berechenbar (nächste erreichbare: "
                        "798375 kHz darunter, 798425 kHz darüber)\n"
                        "Zeile 6: \"12.5\" ist keine Frequenz in kHz\n"
                        "Zeile 8: \"+5\" ist keine Frequenz in kHz\n",
                        1},
        RefusedPlanCase{"RefusalUnderOtherSettings",
                        "798300\n",
                        {"--r0", "13"},
                        "Zeile 1: 798300 kHz: Frequenz nicht berechenbar (nächste erreichbare: "
                        "796122 kHz darunter, 801891 kHz darüber)\n",
                        1},
        RefusedPlanCase{"MoreThanSixteenChannels",
                        SeventeenChannels(),
                        {},
                        "Zeile 17: mehr als 16 Kanäle\nZeile 18: mehr als 16 Kanäle\n",
                        1},
        RefusedPlanCase{"LongLineIsCutAndItsControlsEscaped",
                        "\x1b[2J\xff\xc2\x9b\t\x7fkHz ä" + std::string(100, 'x') + "\n",
                        {},
                        "Zeile 1: \"\\x1b[2J\\xff\\xc2\\x9b\\x09\\x7fkHz ä" + std::string(47, 'x') +
                            "…\" ist keine Frequenz in kHz\n",
                        1},
        RefusedPlanCase{"TwentyOffendingLinesAndHowManyMore",
                        TwentyTwoOffendingLines(),
                        {},
                        TwentyOffendingLinesText() + "… und 2 weitere beanstandete Zeilen\n",
                        1},
        // Read as a stream: a line far longer than a read of the file is cut all the same.
        RefusedPlanCase{"HugeLineIsCut",
                        "# Kanal 1\n" + std::string(300000, '7') + "\n",
                        {},
                        "Zeile 2: \"" + std::string(60, '7') + "…\" ist keine Frequenz in kHz\n",
                        1},
        RefusedPlanCase{
            "PrescalerOffTheListEvenForAnEmptyPlan",
            "# noch leer\n",
            {"--r1", "x"},
            "vx40-tool: --r1: \"x\" ist kein Eintrag der Liste 9, 5, 6, 7\n" + kPlanUsage,
            2}),
    CaseName());

std::string SeventeenTableRows() {
    std::string plan = "Frequenz;Name\n";
    for (int row = 1; row <= 17; ++row) {
        plan += "798300;x\n";
    }
    return plan;
}

// A table's refusals name the file's own line and the column, all of them before anything is
// written.
INSTANTIATE_TEST_SUITE_P(
    Tables, RefusedPlanTest,
    ::testing::Values(
        RefusedPlanCase{"EveryOffendingRowWithLineAndColumn",
                        "# Plan\nKanal;Name;Frequenz (MHz)\n1;a;798,3\n17;b;145\n2;c;145,1255\n"
                        "1;d;145,125\n3;e;MHz\n4;f\n5;g;3000 GHz\n6;h;798,4\n0;i;\n",
                        {},
                        "Zeile 4, Spalte \"Kanal\": \"17\" ist kein Kanal von 1 bis 16\n"
                        "Zeile 5, Spalte \"Frequenz (MHz)\": \"145,1255\" ist keine Frequenz in "
                        "ganzen kHz\n"
                        "Zeile 6, Spalte \"Kanal\": Kanal 1 steht schon in Zeile 3\n"
                        "Zeile 7, Spalte \"Frequenz (MHz)\": \"MHz\" ist keine Frequenz\n"
                        "Zeile 8, Spalte \"Frequenz (MHz)\": fehlt, die Zeile hat nur 2 Felder\n"
                        "Zeile 9, Spalte \"Frequenz (MHz)\": \"3000 GHz\" liegt über 2147483647 "
                        "kHz\n"
                        "Zeile 10, Spalte \"Frequenz (MHz)\": 798400 kHz: Frequenz nicht "
                        "berechenbar (nächste erreichbare: 798375 kHz darunter, 798425 kHz "
                        "darüber)\n"
                        "Zeile 11, Spalte \"Kanal\": \"0\" ist kein Kanal von 1 bis 16\n",
                        1},
        RefusedPlanCase{"MoreThanSixteenRowsWithoutChannelColumn",
                        SeventeenTableRows(),
                        {},
                        "Zeile 18: mehr als 16 Kanäle\n",
                        1},
        RefusedPlanCase{"UnquotedDecimalCommaInACommaTable",
                        "Kanal,Frequenz (MHz)\n1,798300 kHz,,\n2,145,125\n",
                        {},
                        "Zeile 3: Feld 3 ist gefüllt, die Kopfzeile hat nur 2 Felder\n",
                        1},
        RefusedPlanCase{"HeaderWithoutFrequencyColumn",
                        "Kanal;Name\n1;x\n",
                        {},
                        "Zeile 1: keine Spalte Frequenz/Frequency in der Kopfzeile\n",
                        1},
        RefusedPlanCase{"UnknownUnit",
                        "\n\"Frequenz (\xB5Hz)\",Kanal\n1,1\n",
                        {},
                        "Zeile 2, Spalte \"Frequenz (µHz)\": unbekannte Einheit; möglich sind Hz, "
                        "kHz, MHz und GHz\n",
                        1},
        RefusedPlanCase{"TwoFrequencyColumns",
                        "Frequenz (MHz)\tFrequency\n1\t1\n",
                        {},
                        "Zeile 1, Spalte \"Frequency\": zweite Spalte Frequenz/Frequency in der "
                        "Kopfzeile\n",
                        1},
        RefusedPlanCase{"RowTooLongBeforeTheFrequency",
                        "Name;Frequenz\n" + std::string(70000, 'x') + ";798300\n",
                        {},
                        "Zeile 2: länger als 65536 Bytes bis zur letzten gelesenen Spalte\n",
                        1}),
    CaseName());

TEST(PlanFailure, BinImageInAMissingFolderLeavesTheChannelSetFileAsItWas) {
    for (const bool existing : {false, true}) {
        TempDir dir;
        WriteBytes(dir.Path("plan.txt"), "798300\n");
        if (existing) {
            WriteBytes(dir.Path("o.vx4"), "[Wert1]\r\nFrequenz=1\r\n");
        }
        const std::vector<std::string> before = dir.Names();
        const std::string bin = dir.Path("fehlt/o.bin");
        const ToolOutput output =
            RunTool({"plan", dir.Path("plan.txt"), "-o", bin, "--vx4", dir.Path("o.vx4")});
        EXPECT_EQ(output.err, "vx40-tool: Die Datei \"" + bin +
                                  "\" konnte nicht geschrieben werden: der Ordner existiert "
                                  "nicht.\n");
        EXPECT_EQ(output.exitCode, 2);
        EXPECT_EQ(dir.Names(), before);
        if (existing) {
            EXPECT_EQ(ReadBytes(dir.Path("o.vx4")), "[Wert1]\r\nFrequenz=1\r\n");
        }
    }
}

TEST(PlanFailure, ReadOnlyChannelSetFileLeavesTheBinImageAsItWas) {
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "798300\n");
    WriteBytes(dir.Path("o.bin"), "old image");
    WriteBytes(dir.Path("o.vx4"), "[Wert1]\r\n");
    ASSERT_EQ(chmod(dir.Path("o.vx4").c_str(), 0444), 0);
    const ToolOutput output = RunTool(
        {"plan", dir.Path("plan.txt"), "-o", dir.Path("o.bin"), "--vx4", dir.Path("o.vx4")});
    EXPECT_EQ(output.err, "vx40-tool: Die Datei \"" + dir.Path("o.vx4") +
                              "\" konnte nicht geschrieben werden: die Datei ist "
                              "schreibgeschützt.\n");
    EXPECT_EQ(output.exitCode, 2);
    EXPECT_EQ(ReadBytes(dir.Path("o.bin")), "old image");
    EXPECT_EQ(ReadBytes(dir.Path("o.vx4")), "[Wert1]\r\n");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"o.bin", "o.vx4", "plan.txt"}));
}

TEST(PlanFailure, ChannelSetFileInAMissingFolderWritesNoBinImage) {
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "798300\n");
    const std::string vx4 = dir.Path("fehlt/o.vx4");
    const ToolOutput output =
        RunTool({"plan", dir.Path("plan.txt"), "-o", dir.Path("o.bin"), "--vx4", vx4});
    EXPECT_EQ(output.err, "vx40-tool: Die Datei \"" + vx4 +
                              "\" konnte nicht geschrieben werden: der Ordner existiert nicht.\n");
    EXPECT_EQ(output.exitCode, 2);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"plan.txt"}));
}

// Another user's link in a sticky folder that everyone may write to, pointing at root's file.
TEST(PlanFailure, APlantedLinkInASharedFolderIsNotFollowed) {
    if (WindowsBuild()) {
        GTEST_SKIP() << "POSIX only: sticky folders and other users' links";
    }
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a link of another user needs root";
    }
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "798300\n");
    WriteBytes(dir.Path("victim"), "root's");
    const std::string shared = dir.Path("s");
    std::filesystem::create_directories(shared);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    const std::string planted = shared + "/out.bin";
    std::filesystem::create_symlink(dir.Path("victim"), planted);
    ASSERT_EQ(lchown(planted.c_str(), 65534, 65534), 0);
    const ToolOutput output = RunTool({"plan", dir.Path("plan.txt"), "-o", planted});
    EXPECT_EQ(output.err, "vx40-tool: Die Datei \"" + planted +
                              "\" konnte nicht geschrieben werden: sie ist ein symbolischer Link "
                              "eines anderen Benutzers in einem Ordner, in den alle schreiben "
                              "dürfen; ihm wird nicht gefolgt.\n");
    EXPECT_EQ(output.exitCode, 2);
    EXPECT_EQ(ReadBytes(dir.Path("victim")), "root's");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"plan.txt", "s", "victim"}));
}

// A refused image leaves the existing table as it was: not rewritten, the same file with the same
// modification time, so that a hard link to it and a backup see no change.
TEST(PlanFailure, ReadOnlyBinImageLeavesTheChannelSetFileUntouched) {
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "798300\n");
    WriteBytes(dir.Path("o.bin"), "old image");
    ASSERT_EQ(chmod(dir.Path("o.bin").c_str(), 0444), 0);
    WriteBytes(dir.Path("o.vx4"), "[Wert1]\r\n");
    ASSERT_EQ(link(dir.Path("o.vx4").c_str(), dir.Path("hard.vx4").c_str()), 0);
    struct stat before {};
    ASSERT_EQ(stat(dir.Path("o.vx4").c_str(), &before), 0);
    const ToolOutput output = RunTool(
        {"plan", dir.Path("plan.txt"), "-o", dir.Path("o.bin"), "--vx4", dir.Path("o.vx4")});
    EXPECT_EQ(output.err, "vx40-tool: Die Datei \"" + dir.Path("o.bin") +
                              "\" konnte nicht geschrieben werden: die Datei ist "
                              "schreibgeschützt.\n");
    EXPECT_EQ(output.exitCode, 2);
    struct stat after {};
    ASSERT_EQ(stat(dir.Path("o.vx4").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(ReadBytes(dir.Path("o.vx4")), "[Wert1]\r\n");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"hard.vx4", "o.bin", "o.vx4", "plan.txt"}));
}

// Another user's link to a folder, planted in a sticky folder on the way to the output.
TEST(PlanFailure, APlantedLinkOnTheWayIsNamedAndNotFollowed) {
    if (WindowsBuild()) {
        GTEST_SKIP() << "POSIX only: sticky folders and other users' links";
    }
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a link of another user needs root";
    }
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "798300\n");
    std::filesystem::create_directories(dir.Path("victim"));
    const std::string shared = dir.Path("s");
    std::filesystem::create_directories(shared);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    std::filesystem::create_symlink(dir.Path("victim"), shared + "/d");
    ASSERT_EQ(lchown((shared + "/d").c_str(), 65534, 65534), 0);
    const ToolOutput output = RunTool({"plan", dir.Path("plan.txt"), "-o", shared + "/d/v.bin"});
    EXPECT_EQ(output.err, "vx40-tool: Die Datei \"" + shared +
                              "/d/v.bin\" konnte nicht geschrieben werden: der Pfad führt über \"" +
                              shared +
                              "/d\", einen symbolischen Link eines anderen Benutzers in einem "
                              "Ordner, in den alle schreiben dürfen; ihm wird nicht gefolgt.\n");
    EXPECT_EQ(output.exitCode, 2);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path("victim")));
}

struct PlanUsageCase {
    const char* name;
    Arguments arguments;  // "DIR/" stands for the test's folder
    std::string message;
};
void PrintTo(const PlanUsageCase& row, std::ostream* out) {
    *out << row.name;
}

class PlanUsageTest : public ::testing::TestWithParam<PlanUsageCase> {};

TEST_P(PlanUsageTest, PrintsOneLineAndTheUsage) {
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "798300\n");
    const auto expand = [&](std::string text) {
        for (auto pos = text.find("DIR/"); pos != std::string::npos; pos = text.find("DIR/")) {
            text.replace(pos, 4, dir.Path(""));
        }
        return text;
    };
    Arguments arguments;
    for (const auto& argument : GetParam().arguments) {
        arguments.push_back(expand(argument));
    }
    const ToolOutput output = RunTool(arguments);
    EXPECT_EQ(output.err, "vx40-tool: " + expand(GetParam().message) +
                              "\nAufruf: vx40-tool plan [OPTIONEN] PLAN -o OUT.bin [--vx4 "
                              "OUT.vx4] [--format FORMAT]\n");
    EXPECT_EQ(output.exitCode, 2);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"plan.txt"}));
}

INSTANTIATE_TEST_SUITE_P(
    Calls, PlanUsageTest,
    ::testing::Values(
        PlanUsageCase{"NoOutput", {"plan", "DIR/plan.txt"}, "Argument fehlt: -o"},
        PlanUsageCase{"NoPlan", {"plan", "-o", "DIR/o.bin"}, "Argument fehlt: PLAN"},
        PlanUsageCase{"MissingPlan",
                      {"plan", "DIR/fehlt.txt", "-o", "DIR/o.bin"},
                      "Die Datei \"DIR/fehlt.txt\" kann nicht gelesen werden: sie existiert "
                      "nicht."},
        PlanUsageCase{"PlanIsAFolder",
                      {"plan", "DIR/", "-o", "DIR/o.bin"},
                      "Die Datei \"DIR/\" kann nicht gelesen werden: das ist ein Ordner."},
        PlanUsageCase{"BothOutputsTheSameFile",
                      {"plan", "DIR/plan.txt", "-o", "DIR/o.bin", "--vx4", "DIR/./o.bin"},
                      "-o und --vx4 nennen dieselbe Datei"}),
    CaseName());

struct SameFileCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links;  // link, target; "=" makes a hard link
    Arguments arguments;                                     // "DIR/" stands for the test's folder
    std::string message;
    std::string usage;
};
void PrintTo(const SameFileCase& row, std::ostream* out) {
    *out << row.name;
}

class SameFileTest : public ::testing::TestWithParam<SameFileCase> {};

const std::string kEncodeUsage =
    "Aufruf: vx40-tool encode IN.vx4 -o OUT.bin [--format FORMAT] [--size BYTES [--fill BYTE] "
    "[--offset BYTES]]\n";

// An output that is also an input, or two outputs that are one file, would lose a file: the call
// is refused and every file keeps its bytes.
TEST_P(SameFileTest, IsRefusedAndChangesNothing) {
    if (WindowsBuild() &&
        std::string_view(GetParam().name).find("Link") != std::string_view::npos) {
        GTEST_SKIP() << "POSIX only: the Windows build does not follow symbolic links";
    }
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "798300\n");
    WriteBytes(dir.Path("a.vx4"), "[Wert1]\r\nD0=00\r\n");
    for (const auto& [link, target] : GetParam().links) {
        if (target.starts_with('=')) {
            std::filesystem::create_hard_link(dir.Path(target.substr(1)), dir.Path(link));
        } else {
            std::filesystem::create_symlink(target, dir.Path(link));
        }
    }
    const std::vector<std::string> before = dir.Names();
    const std::string planBefore = ReadBytes(dir.Path("plan.txt"));
    const std::string vx4Before = ReadBytes(dir.Path("a.vx4"));
    Arguments arguments;
    for (std::string argument : GetParam().arguments) {
        if (argument.starts_with("DIR/")) {
            argument = dir.Path(argument.substr(4));
        }
        arguments.push_back(argument);
    }
    const ToolOutput output = RunTool(arguments);
    EXPECT_EQ(output.err, "vx40-tool: " + GetParam().message + "\n" + GetParam().usage);
    EXPECT_EQ(output.exitCode, 2);
    EXPECT_EQ(dir.Names(), before);
    EXPECT_EQ(ReadBytes(dir.Path("plan.txt")), planBefore);
    EXPECT_EQ(ReadBytes(dir.Path("a.vx4")), vx4Before);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, SameFileTest,
    ::testing::Values(
        SameFileCase{"ImageOverThePlan",
                     {},
                     {"plan", "DIR/plan.txt", "-o", "DIR/plan.txt"},
                     "PLAN und -o nennen dieselbe Datei",
                     kPlanUsage},
        SameFileCase{"TableThroughALinkToThePlan",
                     {{"l.vx4", "plan.txt"}},
                     {"plan", "DIR/plan.txt", "-o", "DIR/q.bin", "--vx4", "DIR/l.vx4"},
                     "PLAN und --vx4 nennen dieselbe Datei",
                     kPlanUsage},
        SameFileCase{"TableThroughADanglingLinkToTheImage",
                     {{"l.vx4", "q.bin"}},
                     {"plan", "DIR/plan.txt", "-o", "DIR/q.bin", "--vx4", "DIR/l.vx4"},
                     "-o und --vx4 nennen dieselbe Datei",
                     kPlanUsage},
        SameFileCase{"ImageThroughALinkToTheTable",
                     {{"l.bin", "a.vx4"}},
                     {"plan", "DIR/plan.txt", "-o", "DIR/l.bin", "--vx4", "DIR/a.vx4"},
                     "-o und --vx4 nennen dieselbe Datei",
                     kPlanUsage},
        SameFileCase{"ImageIsAHardLinkOfThePlan",
                     {{"h.bin", "=plan.txt"}},
                     {"plan", "DIR/plan.txt", "-o", "DIR/h.bin"},
                     "PLAN und -o nennen dieselbe Datei",
                     kPlanUsage},
        SameFileCase{"EncodeOverItsInput",
                     {},
                     {"encode", "DIR/a.vx4", "-o", "DIR/a.vx4"},
                     "IN.vx4 und -o nennen dieselbe Datei",
                     kEncodeUsage},
        SameFileCase{"EncodeThroughALinkInAnotherFolder",
                     {{"sub", "."}, {"l.bin", "sub/a.vx4"}},
                     {"encode", "DIR/a.vx4", "-o", "DIR/l.bin"},
                     "IN.vx4 und -o nennen dieselbe Datei",
                     kEncodeUsage}),
    CaseName());

struct SizeLimitCase {
    const char* name;
    Arguments outputs;  // "DIR/" stands for the test's folder
    std::string failing;
};
void PrintTo(const SizeLimitCase& row, std::ostream* out) {
    *out << row.name;
}

class SizeLimitTest : public ::testing::TestWithParam<SizeLimitCase> {};

// Beyond the file-size limit the write itself fails and says so; no signal ends the tool halfway.
TEST_P(SizeLimitTest, IsAWriteFailureThatLeavesNothing) {
    if (WindowsBuild()) {
        GTEST_SKIP() << "POSIX only: the file-size limit of a process";
    }
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "798300\n");
    Arguments arguments{"plan", dir.Path("plan.txt")};
    for (const auto& output : GetParam().outputs) {
        arguments.push_back(output.starts_with("DIR/") ? dir.Path(output.substr(4)) : output);
    }
    ToolOutput output;
    {
        const testutil::FileSizeLimit limit(100);
        output = RunTool(arguments);
    }
    EXPECT_EQ(output.err, "vx40-tool: Die Datei \"" + dir.Path(GetParam().failing) +
                              "\" konnte nicht geschrieben werden: die Datei wäre zu groß.\n");
    EXPECT_EQ(output.exitCode, 2);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"plan.txt"});
}

INSTANTIATE_TEST_SUITE_P(Outputs, SizeLimitTest,
                         ::testing::Values(SizeLimitCase{"Image", {"-o", "DIR/o.bin"}, "o.bin"},
                                           SizeLimitCase{"TableFirst",
                                                         {"-o", "DIR/o.bin", "--vx4", "DIR/o.vx4"},
                                                         "o.vx4"}),
                         CaseName());

}  // namespace
}  // namespace vx40::cli_test
