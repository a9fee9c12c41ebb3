// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ImageFormats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ImageResults.h"
#include "TempDir.h"
#include "files/BinImage.h"
#include "files/ImageWriter.h"
#include "files/IntelHex.h"
#include "files/SRecords.h"

namespace vx40 {
namespace {

using testutil::FailureText;
using testutil::Outcome;
using testutil::ReadBytes;
using testutil::ReadInto;
using testutil::TempDir;
using testutil::WriteBytes;

// Byte i holds (i * 7 + i / 16) mod 16: no two 16-byte records alike.
BinImage PatternImage() {
    BinImage image{};
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>((i * 7 + i / 16) % 16);
    }
    return image;
}

std::string ImageBytes(const BinImage& image) {
    return {image.begin(), image.end()};
}

Result<BinImage> Parse(const std::string& text) {
    return testutil::ParseText(text);
}

Result<BinImage> ReadFile(const std::string& path) {
    return ReadImageFile(path, ReadableFiles::AnyExceptDirectories);
}

constexpr std::optional<FailureKind> kAccepted = std::nullopt;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

void RunSrecCat(const std::string& arguments) {
    const std::string command = "srec_cat " + arguments + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

TEST(EpromFormats, WrittenTextsAreExact) {
    BinImage counting{};
    for (std::size_t i = 0; i < counting.size(); ++i) {
        counting[i] = static_cast<std::uint8_t>(i % 16);
    }
    const std::vector<std::string> hex = Lines(IntelHexText(counting));
    ASSERT_EQ(hex.size(), 9u);
    EXPECT_EQ(hex[0], ":10000000000102030405060708090A0B0C0D0E0F78");
    EXPECT_EQ(hex[7], ":10007000000102030405060708090A0B0C0D0E0F08");
    EXPECT_EQ(hex[8], ":00000001FF");
    const std::vector<std::string> srec = Lines(SRecordText(counting));
    ASSERT_EQ(srec.size(), 10u);
    EXPECT_EQ(srec[0], "S007000056583430E6");
    EXPECT_EQ(srec[1], "S1130000000102030405060708090A0B0C0D0E0F74");
    EXPECT_EQ(srec[8], "S1130070000102030405060708090A0B0C0D0E0F04");
    EXPECT_EQ(srec[9], "S9030000FC");
}

// What the writer writes, this reader and an independent one read back as the image.
TEST(EpromFormats, WrittenFilesReadBackHereAndInSrecCat) {
    ChannelTable table;
    ApplyBinImage(table, PatternImage());
    for (const auto& [format, option] :
         {std::pair{ImageFormat::IntelHex, "-intel"}, std::pair{ImageFormat::SRecord, "-motorola"},
          std::pair{ImageFormat::Bin, "-binary"}}) {
        TempDir dir;
        const std::string path = dir.Path("image.txt");
        ASSERT_TRUE(WriteImageFile(table, path, format));
        const Result<BinImage> read = ReadFile(path);
        ASSERT_TRUE(read) << option << FailureText(read);
        EXPECT_EQ(*read, PatternImage()) << option;
        RunSrecCat(path + " " + option + " -o " + dir.Path("out.bin") + " -binary");
        EXPECT_EQ(ReadBytes(dir.Path("out.bin")), ImageBytes(PatternImage())) << option;
    }
}

// Record lengths, address lengths, extended address, start address and count records, CR LF,
// and data beyond address 127 over several read chunks.
TEST(EpromFormats, ReadsWhatSrecCatWrites) {
    for (const std::string options : {
             "-intel",
             "-intel -output-block-size=7 -crlf",
             "-intel -address-length=3",
             "-intel -address-length=4 -execution-start-address=0x1234",
             "-motorola",
             "-motorola -address-length=3 -enable=data-count -output-block-size=5",
             "-motorola -address-length=4 -execution-start-address=0x10 -crlf",
         }) {
        for (const bool dataBeyond : {false, true}) {
            TempDir dir;
            WriteBytes(dir.Path("image.bin"), ImageBytes(PatternImage()));
            WriteBytes(dir.Path("beyond.bin"), std::string(100000, '\x5A'));
            const std::string beyond =
                dataBeyond ? " " + dir.Path("beyond.bin") + " -binary -offset 0x1FF80" : "";
            RunSrecCat(dir.Path("image.bin") + " -binary" + beyond + " -o " + dir.Path("in.txt") +
                       " " + options);
            const Result<BinImage> read = ReadFile(dir.Path("in.txt"));
            ASSERT_TRUE(read) << options << FailureText(read);
            EXPECT_EQ(*read, PatternImage()) << options;
        }
    }
}

// CR, LF, tab and blank before the records may run past any read chunk; a content of nothing
// but them, or a mark or lead-in that breaks off, is what the bin rules make of it.
TEST(EpromFormats, RecognisesRecordsAfterAByteOrderMarkAndAnyWhiteSpace) {
    const std::string hex = IntelHexText(PatternImage());
    const std::string srec = SRecordText(PatternImage());
    const std::string image = ImageBytes(PatternImage());
    const std::string mark = "\xEF\xBB\xBF";
    auto crOnly = [](std::string text) {
        std::replace(text.begin(), text.end(), '\n', '\r');
        return text;
    };
    std::string crLfPairs;
    for (int i = 0; i < 64; ++i) {
        crLfPairs += "\r\n";
    }
    const struct {
        std::string content;
        ImageFormat format;
        std::optional<FailureKind> fault;
    } cases[] = {
        {image, ImageFormat::Bin, kAccepted},
        {"\n\r\n \t" + hex, ImageFormat::IntelHex, kAccepted},
        {srec, ImageFormat::SRecord, kAccepted},
        {crLfPairs + hex, ImageFormat::IntelHex, kAccepted},
        {std::string(127, '\n') + hex, ImageFormat::IntelHex, kAccepted},
        {" " + std::string(200000, '\r') + "\t\n" + srec, ImageFormat::SRecord, kAccepted},
        {mark + hex, ImageFormat::IntelHex, kAccepted},
        {mark + "\r\n  " + crOnly(srec), ImageFormat::SRecord, kAccepted},
        {crOnly(hex), ImageFormat::IntelHex, kAccepted},
        {crLfPairs, ImageFormat::Bin, kAccepted},
        {std::string(100000, '\t'), ImageFormat::Bin, kAccepted},
        {std::string(128, ' '), ImageFormat::Bin, FailureKind::ImageInvalidData},
        {mark, ImageFormat::Bin, FailureKind::ImageTooShort},
        {"\xEF\xBB" + hex, ImageFormat::Bin, FailureKind::ImageInvalidData},
        {"\n" + mark + hex, ImageFormat::Bin, FailureKind::ImageInvalidData},
        {"Sx" + image, ImageFormat::Bin, FailureKind::ImageInvalidData},
        {":G" + image, ImageFormat::Bin, FailureKind::ImageInvalidData},
        {":\n" + hex, ImageFormat::Bin, FailureKind::ImageInvalidData},
        {":", ImageFormat::Bin, FailureKind::ImageTooShort},
        {crLfPairs + "S", ImageFormat::Bin, kAccepted},
        {":1", ImageFormat::IntelHex, FailureKind::ImageInvalidRecords},
        {"", ImageFormat::Bin, FailureKind::ImageTooShort},
    };
    for (const auto& c : cases) {
        const std::string shown = c.content.substr(0, 300);
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(c.content.data());
        EXPECT_EQ(DetectImageFormat({bytes, c.content.size()}), c.format) << shown;
        const Result<BinImage> parsed = Parse(c.content);
        EXPECT_EQ(Outcome(parsed), c.fault) << shown << FailureText(parsed);
        if (c.format != ImageFormat::Bin && c.fault == kAccepted) {
            EXPECT_EQ(*parsed, PatternImage()) << shown;
        }
        TempDir dir;
        WriteBytes(dir.Path("in"), c.content);
        const Result<BinImage> read = ReadFile(dir.Path("in"));
        EXPECT_EQ(Outcome(read), c.fault) << shown;
        if (read && parsed) {
            EXPECT_EQ(*read, *parsed) << shown;
        }
    }
}

// The window reads bin files only: there a text of records is what the bin rules make of it. A
// file that cannot be read keeps its reason for the tool and is no image file to the window.
TEST(EpromFormats, BinOnlyReadsTakeRecordsAsBytesAndFailedReadsAreNoImage) {
    TempDir dir;
    WriteBytes(dir.Path("in.hex"), IntelHexText(PatternImage()));
    const Result<BinImage> binOnly = ReadImageFile(
        dir.Path("in.hex"), ReadableFiles::AnyExceptDirectories, ImageContent::BinOnly);
    ASSERT_EQ(Outcome(binOnly), FailureKind::ImageInvalidData);
    EXPECT_EQ(binOnly.Error().position, 0u);
    EXPECT_TRUE(ReadFile(dir.Path("in.hex")));
    for (const ImageContent content : {ImageContent::BinOnly, ImageContent::AnyFormat}) {
        const Result<BinImage> missing =
            ReadImageFile(dir.Path("missing"), ReadableFiles::AnyExceptDirectories, content);
        ASSERT_EQ(Outcome(missing), FailureKind::ReadFailed);
        EXPECT_EQ(missing.Error().error, ENOENT);
        EXPECT_EQ(FailureText(missing), kBinTooShortMessage);
    }
}

TEST(EpromFormats, RefusalsNameTheLineOrTheAddress) {
    const std::vector<std::string> hex = Lines(IntelHexText(PatternImage()));
    const std::vector<std::string> srec = Lines(SRecordText(PatternImage()));
    const std::string coverage =
        ": die Datensätze müssen die Adressen 0x00 bis 0x7F genau einmal belegen.";
    auto changed = [](std::vector<std::string> lines, std::size_t at, std::string line) {
        lines[at] = std::move(line);
        return Joined(lines);
    };
    auto withChecksum = [](std::string line, std::string_view checksum) {
        return line.replace(line.size() - 2, 2, checksum);
    };
    BinImage invalid = PatternImage();
    invalid[0x35] = 0x10;
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {changed(hex, 1, withChecksum(hex[1], "00")),
         "Zeile 2: kein gültiger Intel-HEX-Datensatz (Prüfsumme falsch)."},
        {changed(hex, 2, ""), "Die Adresse 0x20 ist von keinem Datensatz belegt" + coverage},
        {changed(hex, 2, hex[1]), "Zeile 3: die Adresse 0x10 ist schon belegt" + coverage},
        {changed(hex, 8, ""),
         "Der Endesatz (Typ 01) fehlt: die Intel-HEX-Datei ist unvollständig."},
        {Joined(hex) + hex[3],
         "Zeile 10: kein gültiger Intel-HEX-Datensatz (Datensatz nach dem Endesatz)."},
        {":00000006FA\n" + Joined(hex),
         "Zeile 1: kein gültiger Intel-HEX-Datensatz (unbekannter Satztyp 06)."},
        {changed(hex, 4, ":0200000400" + hex[4].substr(1)),
         "Zeile 5: kein gültiger Intel-HEX-Datensatz (Länge passt nicht zur Längenangabe)."},
        {changed(hex, 0, ":02000004000G00"),
         "Zeile 1: kein gültiger Intel-HEX-Datensatz (Zeichen, das keine Hexadezimalziffer ist)."},
        {changed(hex, 3, "S1130000"),
         "Zeile 4: kein gültiger Intel-HEX-Datensatz (beginnt nicht mit ':')."},
        {":" + std::string(2000, '0'),
         "Zeile 1: kein gültiger Intel-HEX-Datensatz (Zeile zu lang)."},
        {changed(srec, 9, withChecksum(srec[9], "FD")),
         "Zeile 10: kein gültiger S-Datensatz (Prüfsumme falsch)."},
        {changed(srec, 9, "S5030003F9"),
         "Zeile 10: kein gültiger S-Datensatz (Satzzahl 3, aber 8 Datensätze davor)."},
        {changed(srec, 3, "S40300FC"),
         "Zeile 4: kein gültiger S-Datensatz (unbekannter Satztyp S4)."},
        {changed(srec, 8, "S21400000000000000000000000000000000000000EB"),
         "Zeile 9: die Adresse 0x00 ist schon belegt" + coverage},
        {changed(srec, 8, "S5030007F5"),
         "Die Adresse 0x70 ist von keinem Datensatz belegt" + coverage},
        {IntelHexText(invalid),
         "Zeile 4: an der Adresse 0x35 steht 0x10, kein Datennibble (0x00 bis 0x0F)."},
        {std::string(70001, '\n') + changed(hex, 1, withChecksum(hex[1], "00")),
         "Zeile 70003: kein gültiger Intel-HEX-Datensatz (Prüfsumme falsch)."},
        {"\xEF\xBB\xBF\r\r\n\r" + changed(hex, 1, withChecksum(hex[1], "00")),
         "Zeile 5: kein gültiger Intel-HEX-Datensatz (Prüfsumme falsch)."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FailureText(Parse(c.text)), c.message) << c.text;
        TempDir dir;
        WriteBytes(dir.Path("in.hex"), c.text);
        ChannelTable table;
        EXPECT_EQ(FailureText(ReadInto(table, dir.Path("in.hex"))), c.message);
        EXPECT_EQ(table.Cell(4, 1), "") << "a refused file changes no cell";
    }
}

}  // namespace
}  // namespace vx40
