// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ImageWriter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "CalculatedTable.h"
#include "ImageResults.h"
#include "TempDir.h"
#include "files/BinImage.h"
#include "files/FileFailureText.h"

namespace vx40 {
namespace {

using testutil::FailureText;
using testutil::FileSizeLimit;
using testutil::Outcome;
using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;
using Names = std::vector<std::string>;
using namespace std::string_literals;

// The window's writes and reads: bin only.
Status WriteBinFile(const ChannelTable& table, const std::string& path) {
    return WriteImageFile(table, path, ImageFormat::Bin);
}

Result<BinImage> ReadBinFileInto(ChannelTable& table, const std::string& path) {
    return testutil::ReadInto(table, path, ImageContent::BinOnly);
}

// What a write says, as the window shows it.
std::string WriteText(const Status& written, const std::string& path) {
    return written ? std::string() : ImageFailureText(written.Error(), path);
}

constexpr std::optional<FailureKind> kAccepted = std::nullopt;

constexpr std::array<const char*, 16> kNibbleTexts = {
    "00", "01", "02", "03", "04", "05", "06", "07", "08", "09", "0A", "0B", "0C", "0D", "0E", "0F"};

// Channel n, nibble Dk (column 11 - k) holds (n + k) mod 16.
ChannelTable PatternTable() {
    ChannelTable table;
    for (int n = 1; n <= 16; ++n) {
        for (int k = 0; k < 8; ++k) {
            table.SetCell(11 - k, n, kNibbleTexts[static_cast<std::size_t>((n + k) % 16)]);
        }
    }
    return table;
}

const std::string kPatternImage = std::string{
    0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,  // channel 16, D0..D7
    0x0F, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06,  // channel 15
    0x0E, 0x0F, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05,  // channel 14
    0x0D, 0x0E, 0x0F, 0x00, 0x01, 0x02, 0x03, 0x04,  // channel 13
    0x0C, 0x0D, 0x0E, 0x0F, 0x00, 0x01, 0x02, 0x03,  // channel 12
    0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x00, 0x01, 0x02,  // channel 11
    0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x00, 0x01,  // channel 10
    0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x00,  // channel 9
    0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F,  // channel 8
    0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E,  // channel 7
    0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D,  // channel 6
    0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C,  // channel 5
    0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B,  // channel 4
    0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A,  // channel 3
    0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09,  // channel 2
    0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08,  // channel 1, D0..D7
};

// Every cell of the table, header row included, to see that nothing changed.
std::vector<std::string> AllCells(const ChannelTable& table) {
    std::vector<std::string> cells;
    for (int r = 0; r < kRowCount; ++r) {
        for (int c = 0; c < kColumnCount; ++c) {
            cells.push_back(table.Cell(c, r));
        }
    }
    return cells;
}

// A table whose every cell says where it is, so that a stray write shows.
ChannelTable MarkedTable() {
    ChannelTable table;
    table.WriteHeaderRow();
    for (int r = 1; r < kRowCount; ++r) {
        for (int c = 0; c < kColumnCount; ++c) {
            table.SetCell(c, r, "c" + std::to_string(c) + "r" + std::to_string(r));
        }
    }
    return table;
}

TEST(BinImage, LayoutListsChannel16FirstAndD0FirstWithinAChannel) {
    EXPECT_EQ(BinImageCell(0), (NibbleCell{16, 0}));
    EXPECT_EQ(BinImageCell(7), (NibbleCell{16, 7}));
    EXPECT_EQ(BinImageCell(8), (NibbleCell{15, 0}));
    EXPECT_EQ(BinImageCell(127), (NibbleCell{1, 7}));
    EXPECT_EQ(BinImageCell(0).Column(), 11);
    EXPECT_EQ(BinImageCell(127).Column(), 4);

    TempDir dir;
    const Status result = WriteBinFile(PatternTable(), dir.Path("pattern.bin"));
    ASSERT_TRUE(result) << WriteText(result, "pattern.bin");
    EXPECT_EQ(ReadBytes(dir.Path("pattern.bin")), kPatternImage);
}

TEST(BinImage, EmptyTableWrites128BytesOf0F) {
    TempDir dir;
    ChannelTable table;
    ASSERT_TRUE(WriteBinFile(table, dir.Path("empty.bin")));
    EXPECT_EQ(ReadBytes(dir.Path("empty.bin")), std::string(128, '\x0F'));
}

TEST(BinImage, RoundTripFillsOnlyTheNibbleColumns) {
    TempDir dir;
    const ChannelTable calculated = testutil::CalculatedTable();
    ASSERT_TRUE(WriteBinFile(calculated, dir.Path("calc.bin")));

    ChannelTable table = MarkedTable();
    const Result<BinImage> read = ReadBinFileInto(table, dir.Path("calc.bin"));
    ASSERT_TRUE(read);
    EXPECT_EQ(FailureText(read), "");
    for (int c = 0; c < kColumnCount; ++c) {
        EXPECT_EQ(table.Cell(c, 0), kHeaderTexts[static_cast<std::size_t>(c)]);
        for (int r = 1; r < kRowCount; ++r) {
            const std::string expected = c < 4 ? MarkedTable().Cell(c, r) : calculated.Cell(c, r);
            EXPECT_EQ(table.Cell(c, r), expected) << "cell " << c << ", " << r;
        }
    }
}

struct InvalidCellCase {
    const char* name;
    int column;
    int row;
    std::string text;
    std::string message;
};

void PrintTo(const InvalidCellCase& c, std::ostream* os) {
    *os << c.name;
}

class BinWriteInvalidCell : public ::testing::TestWithParam<InvalidCellCase> {};

TEST_P(BinWriteInvalidCell, WritesNothingAndNamesTheCell) {
    TempDir dir;
    const std::string path = dir.Path("old.bin");
    WriteBytes(path, kPatternImage);
    ChannelTable table = PatternTable();
    table.SetCell(GetParam().column, GetParam().row, GetParam().text);
    // A later invalid cell must not be the one named.
    table.SetCell(4, 1, "x");
    const Status result = WriteBinFile(table, path);
    EXPECT_EQ(Outcome(result), FailureKind::InvalidNibbleCell);
    EXPECT_EQ(WriteText(result, path), GetParam().message);
    EXPECT_EQ(ReadBytes(path), kPatternImage);
    EXPECT_EQ(dir.Names(), Names{"old.bin"});
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BinWriteInvalidCell,
    ::testing::Values(
        InvalidCellCase{"LowerCaseDigit", 6, 3, "0a",
                        "Kanal 3, D5 enthält \"0a\": kein gültiges Datennibble (00 bis 0F). Es "
                        "wurde nichts geschrieben."},
        InvalidCellCase{"TwoDigits", 4, 2, "10",
                        "Kanal 2, D7 enthält \"10\": kein gültiges Datennibble (00 bis 0F). Es "
                        "wurde nichts geschrieben."},
        InvalidCellCase{"LeadingBlank", 11, 16, " 3",
                        "Kanal 16, D0 enthält \" 3\": kein gültiges Datennibble (00 bis 0F). Es "
                        "wurde nichts geschrieben."},
        InvalidCellCase{"OneBlank", 10, 9, " ",
                        "Kanal 9, D1 enthält \" \": kein gültiges Datennibble (00 bis 0F). Es "
                        "wurde nichts geschrieben."},
        InvalidCellCase{"LongTextIsShortened", 8, 5, std::string(39, 'a') + "äöü",
                        "Kanal 5, D3 enthält \"" + std::string(39, 'a') +
                            "…\": kein gültiges Datennibble (00 bis 0F). Es wurde nichts "
                            "geschrieben."}),
    [](const ::testing::TestParamInfo<InvalidCellCase>& param) { return param.param.name; });

TEST(BinWrite, ClearedTableNamesChannel16D0AndItsTwoBlanks) {
    TempDir dir;
    ChannelTable table;
    table.Clear();
    const Status result = WriteBinFile(table, dir.Path("new.bin"));
    ASSERT_EQ(Outcome(result), FailureKind::InvalidNibbleCell);
    EXPECT_EQ(BinImageCell(result.Error().position), (NibbleCell{16, 0}));
    EXPECT_EQ(result.Error().detail, "  ");
    EXPECT_EQ(WriteText(result, dir.Path("new.bin")),
              "Kanal 16, D0 enthält \"  \": kein gültiges Datennibble (00 bis 0F). Es wurde "
              "nichts geschrieben.");
    EXPECT_EQ(dir.Names(), Names{});
}

TEST(BinWrite, ReadOnlyTargetIsRefusedWithAMessageAndKept) {
    TempDir dir;
    const std::string path = dir.Path("locked.bin");
    WriteBytes(path, "old");
    ::chmod(path.c_str(), 0444);
    const Status result = WriteBinFile(PatternTable(), path);
    EXPECT_EQ(Outcome(result), FailureKind::TargetReadOnly);
    EXPECT_EQ(WriteText(result, path), "Die Datei \"" + path +
                                           "\" konnte nicht geschrieben werden: die Datei ist "
                                           "schreibgeschützt.");
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(dir.Names(), Names{"locked.bin"});
}

TEST(BinWrite, FailuresNameThePathAndTheReason) {
    TempDir dir;
    const Status missing = WriteBinFile(PatternTable(), dir.Path("gone/x.bin"));
    EXPECT_EQ(WriteText(missing, dir.Path("gone/x.bin")),
              "Die Datei \"" + dir.Path("gone/x.bin") +
                  "\" konnte nicht geschrieben werden: der Ordner existiert "
                  "nicht.");
    const Status device = WriteBinFile(PatternTable(), "/dev/full");
    EXPECT_EQ(WriteText(device, "/dev/full"),
              "Die Datei \"/dev/full\" konnte nicht geschrieben werden: das Ziel ist keine "
              "gewöhnliche Datei.");
    const Status folder = WriteBinFile(PatternTable(), dir.Path());
    EXPECT_EQ(Outcome(folder), FailureKind::NotRegularFile);
    EXPECT_EQ(dir.Names(), Names{});
}

TEST(BinWrite, WriteBreakingOffKeepsTheOldImage) {
    TempDir dir;
    const std::string path = dir.Path("old.bin");
    WriteBytes(path, std::string(128, '\x0F'));
    const Status result = [&] {
        const FileSizeLimit limit(64);
        return WriteBinFile(PatternTable(), path);
    }();
    ASSERT_FALSE(result);
    EXPECT_NE(Outcome(result), FailureKind::InvalidNibbleCell);
    EXPECT_EQ(WriteText(result, path)
                  .rfind("Die Datei \"" + path + "\" konnte nicht geschrieben werden: ", 0),
              0u);
    EXPECT_EQ(ReadBytes(path), std::string(128, '\x0F'));
    EXPECT_EQ(dir.Names(), Names{"old.bin"});
}

TEST(BinWrite, SymbolicLinkTargetGetsTheImage) {
    TempDir dir;
    WriteBytes(dir.Path("real.bin"), "old");
    std::filesystem::create_symlink("real.bin", dir.Path("link.bin"));
    ASSERT_TRUE(WriteBinFile(PatternTable(), dir.Path("link.bin")));
    EXPECT_TRUE(testutil::IsSymlink(dir.Path("link.bin")));
    EXPECT_EQ(ReadBytes(dir.Path("real.bin")), kPatternImage);
    EXPECT_EQ(dir.Names(), (Names{"link.bin", "real.bin"}));
}

struct ReadCase {
    const char* name;
    std::string bytes;
    std::optional<FailureKind> fault;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class BinRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(BinRead, AcceptsOnlyAWholeValidImage) {
    TempDir dir;
    WriteBytes(dir.Path("image.bin"), GetParam().bytes);
    ChannelTable table = MarkedTable();
    const Result<BinImage> read = ReadBinFileInto(table, dir.Path("image.bin"));
    EXPECT_EQ(Outcome(read), GetParam().fault);
    if (GetParam().fault == kAccepted) {
        EXPECT_EQ(table.Cell(11, 16), kNibbleTexts[static_cast<std::uint8_t>(GetParam().bytes[0])]);
        EXPECT_EQ(table.Cell(4, 1), kNibbleTexts[static_cast<std::uint8_t>(GetParam().bytes[127])]);
        EXPECT_EQ(table.Cell(3, 1), "c3r1");
    } else {
        EXPECT_EQ(AllCells(table), AllCells(MarkedTable()));
    }
    // The same bytes from memory give the same answer.
    EXPECT_EQ(Outcome(testutil::ParseText(GetParam().bytes, ImageContent::BinOnly)),
              GetParam().fault);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BinRead,
    ::testing::Values(
        ReadCase{"Empty", "", FailureKind::ImageTooShort},
        ReadCase{"Bytes126", std::string(126, '\x01'), FailureKind::ImageTooShort},
        ReadCase{"Bytes127", kPatternImage.substr(0, 127), FailureKind::ImageTooShort},
        ReadCase{"Bytes128", kPatternImage, kAccepted},
        ReadCase{"Bytes129WithJunk", kPatternImage + "\xFF", kAccepted},
        ReadCase{"LongWithJunk", kPatternImage + std::string(100000, '\x80'), kAccepted},
        ReadCase{"FirstByte10", "\x10" + kPatternImage.substr(1), FailureKind::ImageInvalidData},
        ReadCase{"ThirdByte20", "\x05\x20\x07" + kPatternImage.substr(3),
                 FailureKind::ImageInvalidData},
        ReadCase{"LastByteFF", kPatternImage.substr(0, 127) + "\xFF",
                 FailureKind::ImageInvalidData}),
    [](const ::testing::TestParamInfo<ReadCase>& param) { return param.param.name; });

TEST(BinRead, RefusalTextsAreExact) {
    EXPECT_EQ(ImageFailureText(Failure(FailureKind::ImageTooShort), "x.bin"),
              "Binärfile ist kein Brenstadel-File");
    EXPECT_EQ(ImageFailureText(Failure(FailureKind::ImageInvalidData), "x.bin"),
              "Während des Einlesens wurden Daten\x0D"
              "entdeckt die nicht Brenstadel konform sind\x0D"
              "(>0F oder Bitstream falsch)");
    const std::string invalid = "\x05\x20\x07" + kPatternImage.substr(3);
    const Result<BinImage> parsed = testutil::ParseText(invalid, ImageContent::BinOnly);
    ASSERT_FALSE(parsed);
    EXPECT_EQ(parsed.Error().position, 1u);
}

TEST(BinRead, FoldersFifosAndMissingFilesAreTooShortWithoutHanging) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.Path("fifo").c_str(), 0644), 0);
    for (const std::string& path : {dir.Path(), dir.Path("fifo"), dir.Path("missing.bin"), ""s}) {
        ChannelTable table = MarkedTable();
        EXPECT_EQ(FailureText(ReadBinFileInto(table, path), path), kBinTooShortMessage) << path;
        EXPECT_EQ(AllCells(table), AllCells(MarkedTable()));
    }
}

TEST(BinRead, DevZeroIsAnImageOfZeros) {
    ChannelTable table = MarkedTable();
    ASSERT_TRUE(ReadBinFileInto(table, "/dev/zero"));
    for (int r = 1; r < kRowCount; ++r) {
        for (int c = 4; c < kColumnCount; ++c) {
            EXPECT_EQ(table.Cell(c, r), "00");
        }
        EXPECT_EQ(table.Cell(0, r), "c0r" + std::to_string(r));
    }
}

}  // namespace
}  // namespace vx40
