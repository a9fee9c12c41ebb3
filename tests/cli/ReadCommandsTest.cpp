// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "CaseName.h"
#include "ChannelImage.h"
#include "ChecksumLine.h"
#include "CsvText.h"
#include "ToolProcess.h"
#include "channel/ChannelConstants.h"
#include "channel/ChannelTable.h"
#include "files/BinImage.h"
#include "files/ChannelSetFile.h"
#include "files/ImageFormats.h"
#include "files/IniFileStore.h"
#include "files/IntelHex.h"
#include "files/SRecords.h"
#include "tests/core/TempDir.h"

namespace vx40::cli_test {
namespace {

using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;

const std::string kHeader = "Kanal,Frequenz,n0,n1,n2,D7,D6,D5,D4,D3,D2,D1,D0\n";
const std::string kInvalidDataMessage =
    "Während des Einlesens wurden Daten\nentdeckt die nicht Brenstadel konform sind\n(>0F oder "
    "Bitstream falsch)\n";
const std::string kTooShortMessage = "Binärfile ist kein Brenstadel-File\n";

std::string EmptyRows(int first, int last) {
    std::string rows;
    for (int channel = first; channel <= last; ++channel) {
        rows += std::to_string(channel) + ",,,,,,,,,,,,\n";
    }
    return rows;
}

// A row of 0x0F nibbles: N = 2097151, 26214387.5 kHz with the half dropped.
std::string AllFRows(int first, int last) {
    std::string rows;
    for (int channel = first; channel <= last; ++channel) {
        rows += std::to_string(channel) + ",26214387,127,127,127,0F,0F,0F,0F,0F,0F,0F,0F\n";
    }
    return rows;
}

TEST(Decode, BackCalculatesEveryChannelAtTwelveAndAHalfKilohertz) {
    TempDir dir;
    // Channel 2 carries both R0 select bits and a ratio of 10000 Hz (R0 15): its frequency is
    // still N * 12.5 kHz, N = 4 * 16384 + 111 * 128 + 86 = 79830.
    WriteBytes(dir.Path("in.bin"), ImageBytes({{1, kWorkedChannel},
                                               {2, {5, 8, 4, 0xE, 0xF, 0xD, 6, 4}},
                                               {16, {0, 0, 0, 0, 0, 0, 1, 0}}}));
    const ToolOutput output = RunTool({"decode", "--csv", dir.Path("in.bin")});
    EXPECT_EQ(output.out, kHeader + "1,798300,120,114,3,05,08,03,07,02,07,08,04\n" +
                              "2,997875,86,111,4,05,08,04,0E,0F,0D,06,04\n" + AllFRows(3, 15) +
                              "16,12,1,0,0,00,00,00,00,00,00,01,00\n");
    // 13 channels of eight 0x0F (1560), channel 1 44, channel 2 69, channel 16 1: 1674 = 0x068A.
    EXPECT_EQ(output.err, ChecksumLine(dir.Path("in.bin"), "Summe 0x068A, CRC-32 0x46FDAD99"));
    EXPECT_EQ(output.exitCode, 0);
}

TEST(Decode, AlignsTheColumnsWithoutARatioLine) {
    TempDir dir;
    WriteBytes(dir.Path("in.bin"), ImageBytes({{1, kWorkedChannel}}));
    const std::vector<std::string> lines = Lines(RunTool({"decode", dir.Path("in.bin")}).out);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[0], "Kanal Frequenz  n0  n1  n2 D7 D6 D5 D4 D3 D2 D1 D0");
    EXPECT_EQ(lines[1], "    1   798300 120 114   3 05 08 03 07 02 07 08 04");
    EXPECT_EQ(lines[16], "   16 26214387 127 127 127 0F 0F 0F 0F 0F 0F 0F 0F");
}

struct ImageCase {
    const char* name;
    std::string bytes;
    std::string out;  // after the header; empty: nothing at all on standard output
    std::string err;
    int exitCode;
};
void PrintTo(const ImageCase& row, std::ostream* out) {
    *out << row.name;
}

class DecodeImageTest : public ::testing::TestWithParam<ImageCase> {};

// The expected text with "{in}" replaced by the input's path.
std::string WithInput(std::string text, const std::string& path) {
    if (const std::size_t at = text.find("{in}"); at != std::string::npos) {
        text.replace(at, 4, path);
    }
    return text;
}

// The checksum line of an image read from the input.
std::string InputChecksums(const std::string& checksums = kWorkedChecksums) {
    return ChecksumLine("{in}", checksums);
}

TEST_P(DecodeImageTest, ReadsWithTheWindowsRules) {
    TempDir dir;
    WriteBytes(dir.Path("in.bin"), GetParam().bytes);
    const ToolOutput output = RunTool({"decode", "--csv", dir.Path("in.bin")});
    EXPECT_EQ(output.out, GetParam().out.empty() ? "" : kHeader + GetParam().out);
    EXPECT_EQ(output.err, WithInput(GetParam().err, dir.Path("in.bin")));
    EXPECT_EQ(output.exitCode, GetParam().exitCode);
}

std::string WorkedImage() {
    return ImageBytes({{1, kWorkedChannel}});
}

std::string WorkedRecords(ImageFormat format, std::uint8_t firstByte = 0x0F) {
    BinImage image{};
    const std::string bytes = WorkedImage();
    std::copy(bytes.begin(), bytes.end(), image.begin());
    image[0] = firstByte;
    return format == ImageFormat::IntelHex ? IntelHexText(image) : SRecordText(image);
}

// Channels first to last, each with the same cells after its number.
std::string SameRows(int first, int last, const std::string& row) {
    std::string rows;
    for (int channel = first; channel <= last; ++channel) {
        rows += std::to_string(channel) + "," + row + "\n";
    }
    return rows;
}

std::string CrOnly(std::string text) {
    std::replace(text.begin(), text.end(), '\n', '\r');
    return text;
}

std::string BlankLines(int count, const std::string& lineEnd) {
    std::string lines;
    for (int i = 0; i < count; ++i) {
        lines += lineEnd;
    }
    return lines;
}

INSTANTIATE_TEST_SUITE_P(
    Images, DecodeImageTest,
    ::testing::Values(
        ImageCase{"Empty", "", "", kTooShortMessage, 1},
        ImageCase{"OneByte", "\x05", "", kTooShortMessage, 1},
        ImageCase{"OneHundredTwentySixBytes", WorkedImage().substr(0, 126), "", kTooShortMessage,
                  1},
        // The window's reader takes 128 bytes whole: a 127-byte file is too short as well.
        ImageCase{"OneHundredTwentySevenBytes", WorkedImage().substr(0, 127), "", kTooShortMessage,
                  1},
        ImageCase{"ExactlyOneImage", WorkedImage(),
                  "1,798300,120,114,3,05,08,03,07,02,07,08,04\n" + AllFRows(2, 16),
                  InputChecksums(), 0},
        ImageCase{"BytesAfterTheImageAreIgnored", WorkedImage() + "\x10\xFF junk",
                  "1,798300,120,114,3,05,08,03,07,02,07,08,04\n" + AllFRows(2, 16),
                  InputChecksums(), 0},
        ImageCase{"FirstByteAboveF", "\x10" + WorkedImage().substr(1), "", kInvalidDataMessage, 1},
        ImageCase{"LastByteAboveF", WorkedImage().substr(0, 127) + "\x80", "", kInvalidDataMessage,
                  1},
        // Records after blank lines of 128 bytes and more, whose bytes alone are a bin image.
        ImageCase{"IntelHexAfterBlankLines",
                  BlankLines(64, "\r\n") + WorkedRecords(ImageFormat::IntelHex),
                  "1,798300,120,114,3,05,08,03,07,02,07,08,04\n" + AllFRows(2, 16),
                  InputChecksums(), 0},
        ImageCase{
            "SRecordsAfterAByteOrderMarkWithCrAlone",
            "\xEF\xBB\xBF" + BlankLines(200, "\r") + CrOnly(WorkedRecords(ImageFormat::SRecord)),
            "1,798300,120,114,3,05,08,03,07,02,07,08,04\n" + AllFRows(2, 16), InputChecksums(), 0},
        // Nibbles 0D and 0A in turn: N = 90 * 16384 + 90 * 128 + 90 = 1486170.
        ImageCase{"BlankLinesAlone", BlankLines(64, "\r\n"),
                  SameRows(1, 16, "18577125,90,90,90,0A,0D,0A,0D,0A,0D,0A,0D"),
                  // 64 * (0x0D + 0x0A) = 1472
                  InputChecksums("Summe 0x05C0, CRC-32 0x0F3AFE6C"), 0},
        ImageCase{"RecordWithAByteAboveF",
                  BlankLines(3, "\n") + WorkedRecords(ImageFormat::IntelHex, 0x10), "",
                  "Zeile 4: an der Adresse 0x00 steht 0x10, kein Datennibble (0x00 bis 0x0F).\n",
                  1}),
    CaseName());

// Writes the bytes in two halves with a pause between, as a slow producer would, then closes.
void WriteSlowly(int fd, const std::string& bytes) {
    const std::size_t half = bytes.size() / 2;
    ASSERT_EQ(::write(fd, bytes.data(), half), static_cast<ssize_t>(half));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    // A reader that gave up early makes this write fail; the tool's output tells.
    [[maybe_unused]] const ssize_t rest = ::write(fd, bytes.data() + half, bytes.size() - half);
    ::close(fd);
}

struct StreamCase {
    const char* name;
    bool fifo;  // a named FIFO, otherwise a pipe on standard input read as /dev/stdin
    std::string bytes;
    std::string out;
    std::string err;
    int exitCode;
};
void PrintTo(const StreamCase& row, std::ostream* out) {
    *out << row.name;
}

class DecodeStreamTest : public ::testing::TestWithParam<StreamCase> {};

// A pipe or FIFO is read as a file is: the tool waits for 128 bytes or the end of the input.
TEST_P(DecodeStreamTest, WaitsForTheWholeImage) {
    const StreamCase& c = GetParam();
    if (WindowsBuild() && c.fifo) {
        GTEST_SKIP() << "POSIX only: FIFOs";
    }
    ::signal(SIGPIPE, SIG_IGN);
    TempDir dir;
    ToolOutput output;
    if (c.fifo) {
        const std::string fifo = dir.Path("in.bin");
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        std::thread writer(
            [&] { WriteSlowly(::open(fifo.c_str(), O_WRONLY | O_CLOEXEC), c.bytes); });
        output = RunTool({"decode", "--csv", fifo});
        writer.join();
    } else {
        int fds[2];
        ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
        std::thread writer([&] { WriteSlowly(fds[1], c.bytes); });
        // Windows has no /dev/stdin: its program reads the pipe as standard input.
        output = RunTool({"decode", "--csv", WindowsBuild() ? "-" : "/dev/stdin"}, {}, fds[0]);
        ::close(fds[0]);
        writer.join();
    }
    EXPECT_EQ(output.out, c.out.empty() ? "" : kHeader + c.out);
    std::string err = c.err;
    if (const std::size_t at = err.find("\"{in}\""); WindowsBuild() && at != std::string::npos) {
        err.replace(at, 6, "Standardeingabe");
    }
    EXPECT_EQ(output.err, WithInput(err, c.fifo ? dir.Path("in.bin") : "/dev/stdin"));
    EXPECT_EQ(output.exitCode, c.exitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, DecodeStreamTest,
    ::testing::Values(
        StreamCase{"Pipe", false, WorkedImage(),
                   "1,798300,120,114,3,05,08,03,07,02,07,08,04\n" + AllFRows(2, 16),
                   InputChecksums(), 0},
        StreamCase{"Fifo", true, WorkedImage() + "more",
                   "1,798300,120,114,3,05,08,03,07,02,07,08,04\n" + AllFRows(2, 16),
                   InputChecksums(), 0},
        StreamCase{"PipeEndingEarly", false, WorkedImage().substr(0, 100), "", kTooShortMessage, 1},
        StreamCase{"FifoEndingEarly", true, WorkedImage().substr(0, 100), "", kTooShortMessage, 1}),
    CaseName());

struct ReadUsageCase {
    const char* name;
    Arguments arguments;  // the input path is appended
    std::string input;    // relative to the test's folder
    std::string reason;
    std::string usage;
};
void PrintTo(const ReadUsageCase& row, std::ostream* out) {
    *out << row.name;
}

class UnreadableInputTest : public ::testing::TestWithParam<ReadUsageCase> {};

TEST_P(UnreadableInputTest, PrintsOneLineAndTheUsageAndNoTable) {
    if (WindowsBuild() && std::string_view(GetParam().name) == "DecodeNameTooLong") {
        GTEST_SKIP() << "Wine reports an overlong name as a missing file";
    }
    TempDir dir;
    Arguments arguments = GetParam().arguments;
    const std::string input = dir.Path(GetParam().input);
    arguments.insert(arguments.begin() + 1, input);
    const ToolOutput output = RunTool(arguments);
    EXPECT_EQ(output.err, "vx40-tool: Die Datei \"" + input + "\" kann nicht gelesen werden: " +
                              GetParam().reason + ".\n" + GetParam().usage);
    EXPECT_EQ(output.out, "");
    EXPECT_EQ(output.exitCode, 2);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{});
}

const std::string kDecodeUsage = "Aufruf: vx40-tool decode [--csv] IN.bin\n";
const std::string kShowUsage = "Aufruf: vx40-tool show [--csv] IN.vx4\n";
const std::string kEncodeUsage =
    "Aufruf: vx40-tool encode IN.vx4 -o OUT.bin [--format FORMAT] [--size BYTES [--fill BYTE] "
    "[--offset BYTES]]\n";

INSTANTIATE_TEST_SUITE_P(
    Inputs, UnreadableInputTest,
    ::testing::Values(
        ReadUsageCase{
            "DecodeMissing", {"decode"}, "fehlt.bin", "sie existiert nicht", kDecodeUsage},
        ReadUsageCase{"DecodeFolder", {"decode"}, "", "das ist ein Ordner", kDecodeUsage},
        ReadUsageCase{"DecodeNameTooLong",
                      {"decode"},
                      std::string(256, 'n'),
                      "der Name ist zu lang",
                      kDecodeUsage},
        ReadUsageCase{
            "ShowMissing", {"show", "--csv"}, "fehlt.vx4", "sie existiert nicht", kShowUsage},
        ReadUsageCase{"ShowFolder", {"show"}, "", "das ist ein Ordner", kShowUsage},
        ReadUsageCase{"EncodeMissing",
                      {"encode", "-o", "/dev/null/x.bin"},
                      "fehlt.vx4",
                      "sie existiert nicht",
                      kEncodeUsage}),
    CaseName());

// A channel-set file is read to its end; a FIFO is refused at once, without waiting for a writer.
TEST(ChannelSetInput, AFifoIsRefused) {
    for (const bool encode : {false, true}) {
        TempDir dir;
        const std::string fifo = dir.Path("in.vx4");
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        const ToolOutput output = RunTool(
            encode ? Arguments{"encode", fifo, "-o", dir.Path("x.bin")} : Arguments{"show", fifo});
        EXPECT_EQ(Lines(output.err).front(), "vx40-tool: Die Datei \"" + fifo +
                                                 "\" kann nicht gelesen werden: das ist keine "
                                                 "gewöhnliche Datei.");
        EXPECT_EQ(output.exitCode, 2);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"in.vx4"});
    }
}

// A table as the window leaves it after a few commands, saved by the window's own save code.
std::string SaveWindowTable(const TempDir& dir) {
    ChannelTable table;
    const std::vector<std::string> worked = {"798300", "120", "114", "3",  "05", "08",
                                             "03",     "07",  "02",  "07", "08", "04"};
    for (int c = 0; c < kColumnCount; ++c) {
        table.SetCell(c, 1, worked[static_cast<std::size_t>(c)]);
        table.SetCell(c, 2, std::string(kClearedCellText));
        table.SetCell(c, 5,
                      std::string(c == 0  ? "798400"
                                  : c < 4 ? kRefusedPartText
                                          : kRefusedNibbleText));
    }
    // A frequency text the field would show with its group separator.
    table.SetCell(kFrequencyColumn, 7, "798,300");
    const std::string path = dir.Path("window.vx4");
    IniFileStore store;
    store.SetFileName(path);
    SaveChannelSet(table, store);
    return path;
}

TEST(Show, PrintsTheRowsOfAFileSavedByTheWindowAsALoadFillsThem) {
    TempDir dir;
    const ToolOutput output = RunTool({"show", "--csv", SaveWindowTable(dir)});
    EXPECT_EQ(output.out, kHeader + "1,798300,120,114,3,05,08,03,07,02,07,08,04\n" +
                              EmptyRows(2, 4) + "5,798400,,,,0F,0F,0F,0F,0F,0F,0F,0F\n" +
                              EmptyRows(6, 6) + "7,\"798,300\",,,,,,,,,,,\n" + EmptyRows(8, 16));
    EXPECT_EQ(output.err, "");
    EXPECT_EQ(output.exitCode, 0);
}

// Written by hand the way another program would: LF line ends, a byte-order mark, comments,
// names in other letter cases, blanks around names and values, keys in another order, unknown
// sections and keys, missing keys.
const std::string kHandWritten =
    "\xEF\xBB\xBF; Kanalsatz von Hand\n"
    "[Allgemein]\nName = Relais\n\n"
    "[wert1]\n D0 = 04\nd1=08\nD2 =07\nD3= 02\nD4=07\nD5=03\nD6=08\nD7=05\n"
    "n2=3\nn1=114\nn0=120\nFREQUENZ = 798300 \nBemerkung=Nord\n\n"
    "[WERT16]\nD1=01\n";

TEST(Show, PrintsAHandWrittenFileAsALoadReadsIt) {
    TempDir dir;
    WriteBytes(dir.Path("hand.vx4"), kHandWritten);
    const ToolOutput output = RunTool({"show", "--csv", dir.Path("hand.vx4")});
    EXPECT_EQ(output.out, kHeader + "1,798300,120,114,3,05,08,03,07,02,07,08,04\n" +
                              EmptyRows(2, 15) + "16,,,,,,,,,,,01,\n");
    EXPECT_EQ(output.exitCode, 0);
}

TEST(Show, AFileOfOtherTextIsNoChannelSet) {
    TempDir dir;
    WriteBytes(dir.Path("other.vx4"), "kein INI-Text\n");
    const ToolOutput output = RunTool({"show", "--csv", dir.Path("other.vx4")});
    EXPECT_EQ(output.out, "");
    EXPECT_EQ(output.err, "keine Kanaldatei: " + dir.Path("other.vx4") + "\n");
    EXPECT_EQ(output.exitCode, 1);
}

TEST(Show, AlignsTheColumns) {
    TempDir dir;
    const std::vector<std::string> lines = Lines(RunTool({"show", SaveWindowTable(dir)}).out);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[0], "Kanal Frequenz  n0  n1 n2 D7 D6 D5 D4 D3 D2 D1 D0");
    EXPECT_EQ(lines[1], "    1   798300 120 114  3 05 08 03 07 02 07 08 04");
    EXPECT_EQ(lines[2], "    2");
    EXPECT_EQ(lines[7], "    7  798,300");
}

TEST(Encode, WritesTheImageOfAFileSavedByTheWindow) {
    TempDir dir;
    const std::string vx4 = SaveWindowTable(dir);
    const ToolOutput output = RunTool({"encode", vx4, "-o", dir.Path("out.bin")});
    EXPECT_EQ(output.exitCode, 0) << output.err;
    EXPECT_EQ(output.out, "");
    EXPECT_EQ(output.err, ChecksumLine(dir.Path("out.bin"), kWorkedChecksums));
    // The refused row holds "0F" and the cleared row loads empty: both are 0x0F bytes.
    EXPECT_EQ(ReadBytes(dir.Path("out.bin")), ImageBytes({{1, kWorkedChannel}}));
}

TEST(Encode, WritesTheImageOfAHandWrittenFile) {
    TempDir dir;
    WriteBytes(dir.Path("hand.vx4"), kHandWritten);
    ASSERT_EQ(RunTool({"encode", dir.Path("hand.vx4"), "-o", dir.Path("out.bin")}).exitCode, 0);
    EXPECT_EQ(
        ReadBytes(dir.Path("out.bin")),
        ImageBytes({{1, kWorkedChannel}, {16, {0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x01, 0x0F}}}));
}

TEST(Encode, RefusesAnInvalidCellAndWritesNothing) {
    for (const bool existing : {false, true}) {
        TempDir dir;
        WriteBytes(dir.Path("bad.vx4"), "[Wert1]\nD0=04\n[Wert5]\nD3=0a\n[Wert9]\nD7=10\n");
        if (existing) {
            WriteBytes(dir.Path("out.bin"), "old image");
        }
        const std::vector<std::string> before = dir.Names();
        const ToolOutput output =
            RunTool({"encode", dir.Path("bad.vx4"), "-o", dir.Path("out.bin")});
        EXPECT_EQ(output.err,
                  "Kanal 9, D7 enthält \"10\": kein gültiges Datennibble (00 bis 0F). Es wurde "
                  "nichts geschrieben.\n");
        EXPECT_EQ(output.exitCode, 1);
        EXPECT_EQ(dir.Names(), before);
        if (existing) {
            EXPECT_EQ(ReadBytes(dir.Path("out.bin")), "old image");
        }
    }
}

TEST(Encode, AnUnwritableImageIsAFileError) {
    TempDir dir;
    WriteBytes(dir.Path("in.vx4"), "[Wert1]\nD0=04\n");
    const std::string bin = dir.Path("fehlt/out.bin");
    const ToolOutput output = RunTool({"encode", dir.Path("in.vx4"), "-o", bin});
    EXPECT_EQ(output.err, "vx40-tool: Die Datei \"" + bin +
                              "\" konnte nicht geschrieben werden: der Ordner existiert nicht.\n");
    EXPECT_EQ(output.exitCode, 2);
}

}  // namespace
}  // namespace vx40::cli_test
