// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "files/ChipImage.h"
#include "files/ImageFormats.h"
#include "files/ImageReader.h"
#include "files/ImageWriter.h"
#include "files/IntelHex.h"
#include "tests/core/TempDir.h"

namespace vx40 {
namespace {

using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;

// An image whose bytes all differ from their neighbours, so that a shifted byte shows.
BinImage PatternImage() {
    BinImage image{};
    for (std::size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<std::uint8_t>((i * 7 + 3) % 16);
    }
    return image;
}

void RunSrecCat(const std::string& arguments) {
    const std::string command = "srec_cat " + arguments + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

std::size_t CountLines(const std::string& text, const std::string& start) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at = text.find('\n', at) + 1) {
        count += text.compare(at, start.size(), start) == 0 ? 1u : 0u;
    }
    return count;
}

// Every layout and format writes a file that reads back as the chip built here byte by byte,
// here and in srec_cat, and the text of records uses the records a programmer expects at that size.
TEST(ChipImage, WrittenChipsReadBackAsBuiltHere) {
    struct Case {
        ChipLayout layout;
        ImageFormat format;
        const char* dataRecord;  // the start of every data line
        std::size_t extendedAddressRecords;
    };
    const Case cases[] = {
        {{128, 0xFF, 0}, ImageFormat::IntelHex, ":10", 0},
        {{2048, 0xFF, 0x100}, ImageFormat::Bin, "", 0},
        {{2048, 0x00, 0x780}, ImageFormat::IntelHex, ":10", 0},
        {{2048, 0xA5, 0x10}, ImageFormat::SRecord, "S113", 0},
        {{0x10000, 0xFF, 0xFF80}, ImageFormat::SRecord, "S113", 0},
        {{0x10010, 0xFF, 0}, ImageFormat::SRecord, "S214", 0},
        // A record of 16 bytes never crosses the 64 KiB steps, where each 04 record stands.
        {{kMaxChipSize, 0xFF, kMaxChipSize - 128}, ImageFormat::IntelHex, ":10", 15},
        {{0x20000, 0x5A, 0x8000}, ImageFormat::SRecord, "S214", 0},
        {{kMaxChipSize, 0xFF, 0}, ImageFormat::Bin, "", 0},
    };
    TempDir dir;
    const BinImage image = PatternImage();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.layout.size) + " at " + std::to_string(c.layout.offset));
        ASSERT_TRUE(CheckChipLayout(c.layout).Ok());
        std::vector<std::uint8_t> expected(c.layout.size, c.layout.fill);
        for (std::size_t i = 0; i < image.size(); ++i) {
            expected[c.layout.offset + i] = image[i];
        }
        const std::vector<std::uint8_t> chip = ChipBytes(image, c.layout);
        ASSERT_EQ(chip, expected);

        const std::string path = dir.Path("chip");
        ASSERT_TRUE(WriteImageBytesFile(chip, path, c.format).Ok());
        const Result<std::vector<std::uint8_t>> read = ReadChipImageFile(
            path, ReadableFiles::RegularOnly, static_cast<std::uint8_t>(~c.layout.fill));
        ASSERT_TRUE(read.Ok()) << read.Error().detail;
        EXPECT_EQ(*read, expected);
        const Result<BinImage> back = ImageInChip(*read, c.layout.offset);
        ASSERT_TRUE(back.Ok()) << back.Error().detail;
        EXPECT_EQ(*back, image);

        if (c.format != ImageFormat::Bin) {
            // srec_cat reads the records to the same bytes, and what it writes of the image
            // with its own offset and fill reads back here as the same chip.
            const std::string option = c.format == ImageFormat::IntelHex ? " -intel" : " -motorola";
            RunSrecCat(path + option + " -o " + dir.Path("out.bin") + " -binary");
            EXPECT_EQ(ReadBytes(dir.Path("out.bin")), std::string(chip.begin(), chip.end()));
            WriteBytes(dir.Path("image.bin"), std::string(image.begin(), image.end()));
            RunSrecCat(dir.Path("image.bin") + " -binary -offset " +
                       std::to_string(c.layout.offset) + " -fill " + std::to_string(c.layout.fill) +
                       " 0 " + std::to_string(c.layout.size) + " -o " + dir.Path("theirs") +
                       option);
            const Result<std::vector<std::uint8_t>> theirs =
                ReadChipImageFile(dir.Path("theirs"), ReadableFiles::RegularOnly, 0);
            ASSERT_TRUE(theirs.Ok()) << theirs.Error().detail;
            EXPECT_EQ(*theirs, expected);

            const std::string text = EncodedBytes(chip, c.format);
            EXPECT_EQ(CountLines(text, c.dataRecord), (c.layout.size + 15) / 16);
            EXPECT_EQ(CountLines(text, ":02000004"), c.extendedAddressRecords);
        }
    }
    // Without a chip, every format writes what the 128-byte image always was.
    for (const ImageFormatEntry& entry : ImageFormatTable()) {
        EXPECT_EQ(EncodedBytes(ChipBytes(image, {}), entry.format),
                  EncodedImage(image, entry.format));
    }
}

// The text of an image's 128 bytes of 0x0F as Intel HEX with more records before its end.
std::string EmptyImageHexWith(const std::string& records) {
    const std::string text = IntelHexText(std::vector<std::uint8_t>(128, 0x0F));
    return text.substr(0, text.size() - 12) + records + ":00000001FF\n";
}

// A chip read back with gaps between its records, and every refusal of a chip or of the 128
// bytes at the offset in it; the fill of the read is 0x33.
TEST(ChipImage, ReadBackFillsGapsAndRefusesWhatHoldsNoImage) {
    struct Case {
        const char* name;
        std::string content;
        std::size_t offset;
        std::string refusal;   // empty: the image is read
        std::size_t size = 0;  // of the chip read, where the image is read
    };
    const std::string image(128, '\x0F');
    const Case cases[] = {
        // 0x80 to 0xFF lie between the records: the fill, which the rest reports below.
        {"GapFilled", EmptyImageHexWith(":01010000AA54\n"), 0, "", 0x101},
        {"ExactImageIgnoresTheOffset", image, 0x700, "", 128},
        {"BinTooSmall", image.substr(0, 100), 0,
         "Das Abbild hat nur 100 Bytes, die Kanaltabelle braucht 128."},
        {"OffsetBeyondTheChip", image + image, 129,
         "Die 128 Bytes am Versatz 0x81 gehen über das Abbild von 256 Bytes hinaus."},
        {"BlankAtTheOffset", image + std::string(128, '\xFF'), 128,
         "An der Adresse 0x80 steht 0xFF, kein Datennibble (0x00 bis 0x0F)."},
        {"GapAtTheOffset", EmptyImageHexWith(":01010000AA54\n"), 0x80,
         "An der Adresse 0x80 steht 0x33, kein Datennibble (0x00 bis 0x0F)."},
        {"AddressTwice", EmptyImageHexWith(":01007F00017F\n"), 0,
         "Zeile 9: die Adresse 0x7F ist schon belegt."},
        {"BeyondOneMebibyte", EmptyImageHexWith(":020000040010EA\n:0100000001FE\n"), 0,
         "Zeile 10: die Adresse 0x100000 liegt hinter dem größten Chip von 1 MiB (bis 0xFFFFF)."},
        {"RecordOverTheEnd", "S307000FFFFF0102E8\n", 0,
         "Zeile 1: die Adresse 0x100000 liegt hinter dem größten Chip von 1 MiB (bis 0xFFFFF)."},
        {"BinOverOneMebibyte", std::string(kMaxChipSize + 1, '\x0F'), 0,
         "Das Abbild ist größer als der größte Chip von 1 MiB (1048576 Bytes)."},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        { std::ofstream(dir.Path("in"), std::ios::binary) << c.content; }
        const Result<std::vector<std::uint8_t>> chip =
            ReadChipImageFile(dir.Path("in"), ReadableFiles::RegularOnly, 0x33);
        const Result<BinImage> read =
            chip ? ImageInChip(*chip, c.offset) : Result<BinImage>(chip.Error());
        EXPECT_EQ(read ? std::string() : read.Error().detail, c.refusal);
        if (read) {
            EXPECT_EQ(chip->size(), c.size);
            EXPECT_EQ(
                *read, BinImage{} = [] {
                    BinImage empty;
                    empty.fill(0x0F);
                    return empty;
                }());
            const ChipRest rest = ChipRestOf(*chip, c.offset, 0x33);
            EXPECT_EQ(rest.differing, c.size > 128 ? 1u : 0u);
        }
    }
}

// What stands outside the 128 bytes and is not the fill: counted whole, the first few named.
TEST(ChipImage, RestNamesTheFirstDifferingAddresses) {
    std::vector<std::uint8_t> chip(0x1000, 0xFF);
    std::fill_n(chip.begin() + 0x100, 128, 0x0F);
    EXPECT_EQ(ChipRestOf(chip, 0x100, 0xFF).differing, 0u);
    EXPECT_EQ(ChipRestOf(chip, 0, 0xFF).differing, 128u);  // the image, where none was written
    chip[0] = 0x00;
    EXPECT_EQ(ChipRestText(ChipRestOf(chip, 0x100, 0xFF), 0x100, 0xFF),
              "1 Byte außerhalb der 128 Bytes am Versatz 0x100 ist nicht 0xFF: 0x00");
    for (std::size_t at = 0xFF0; at < 0x1000; ++at) {
        chip[at] = 0x12;
    }
    EXPECT_EQ(ChipRestText(ChipRestOf(chip, 0x100, 0xFF), 0x100, 0xFF),
              "17 Bytes außerhalb der 128 Bytes am Versatz 0x100 sind nicht 0xFF: 0x00, 0xFF0, "
              "0xFF1, 0xFF2, 0xFF3, 0xFF4, 0xFF5, 0xFF6, …");
}

// The option values: decimal or 0x hexadecimal within their ranges, and the layout's fit.
TEST(ChipImage, OptionValuesAndLayouts) {
    struct Case {
        Result<std::size_t> (*convert)(std::string_view);
        std::string text;
        std::int64_t value;  // -1: refused
    };
    const Case cases[] = {
        {ChipSizeValue, "2048", 2048},
        {ChipSizeValue, "0x800", 2048},
        {ChipSizeValue, "0X100000", 1048576},
        {ChipSizeValue, "128", 128},
        {ChipSizeValue, "127", -1},
        {ChipSizeValue, "1048577", -1},
        {ChipSizeValue, "99999999999999999999999", -1},
        {ChipSizeValue, "2k", -1},
        {ChipSizeValue, "-2048", -1},
        {ChipSizeValue, " 2048", -1},
        {ChipSizeValue, "0x", -1},
        {ChipSizeValue, "", -1},
        {ChipOffsetValue, "0", 0},
        {ChipOffsetValue, "0xFFF80", 0xFFF80},
        {ChipOffsetValue, "0xFFF81", -1},
    };
    for (const Case& c : cases) {
        const Result<std::size_t> value = c.convert(c.text);
        EXPECT_EQ(value ? static_cast<std::int64_t>(*value) : -1, c.value) << c.text;
    }
    EXPECT_EQ(ChipSizeValue("127").Error().detail,
              "\"127\" ist keine Chipgröße in Bytes von 128 bis 1048576 (dezimal oder "
              "hexadezimal mit 0x).");
    EXPECT_EQ(ChipFillValue("0x100").Error().detail,
              "\"0x100\" ist kein Füllbyte von 0 bis 255 (dezimal oder hexadezimal mit 0x).");
    EXPECT_EQ(*ChipFillValue("0"), 0);
    EXPECT_EQ(*ChipFillValue("0xff"), 0xFF);

    EXPECT_TRUE(CheckChipLayout({2048, 0xFF, 1920}).Ok());
    EXPECT_TRUE(CheckChipLayout({}).Ok());
    EXPECT_EQ(CheckChipLayout({2048, 0xFF, 1921}).Error().detail,
              "Die 128 Bytes am Versatz 0x781 passen nicht in einen Chip von 2048 Bytes (--size, "
              "--offset).");
    EXPECT_FALSE(CheckChipLayout({128, 0xFF, 1}).Ok());
}

}  // namespace
}  // namespace vx40
