// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ChannelImage.h"
#include "ChecksumLine.h"
#include "ToolProcess.h"
#include "files/ImageReader.h"
#include "tests/core/TempDir.h"

namespace vx40::cli_test {
namespace {

using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;

// The chip as built here: fill everywhere, the image at the offset.
std::string Chip(const std::string& image, std::size_t size, char fill, std::size_t offset) {
    std::string chip(size, fill);
    chip.replace(offset, image.size(), image);
    return chip;
}

// The data bytes of a written file of any format.
std::string DataOf(const std::string& path) {
    const Result<std::vector<std::uint8_t>> read =
        ReadChipImageFile(path, ReadableFiles::RegularOnly, 0x5A);
    return read ? std::string(read->begin(), read->end()) : "refused: " + read.Error().detail;
}

// plan and encode place the image in the chip for every format and name its checksums, which
// inspect shows after its table. Sixteen empty channels are 128 bytes 0x0F, 1920 = 0x0780;
// 128 more bytes 0xFF add 32640: 34560 = 0x8700. CRC-32 values as zlib's crc32() gives them.
TEST(ChipImages, AreWrittenWithTheirChecksums) {
    struct Case {
        Arguments options;
        const char* output;
        std::string chip;
        std::string checksums;
        const char* offset;  // of the image in the chip, as inspect is told
    };
    const std::string empty(128, '\x0F');
    const Case cases[] = {
        {{}, "k.bin", empty, "Summe 0x0780, CRC-32 0xB9BDB518", "0"},
        {{"--size", "256"},
         "k.hex",
         Chip(empty, 256, '\xFF', 0),
         "Summe 0x8700, CRC-32 0xDEC977E5",
         "0"},
        {{"--size", "0x100", "--fill", "0", "--offset", "128"},
         "k.s19",
         Chip(empty, 256, '\0', 128),
         "Summe 0x0780, CRC-32 0x7683CADD",
         "0x80"},
        {{"--size", "0x100", "--fill", "0x00", "--offset", "0x80", "--format", "bin"},
         "k.s19",
         Chip(empty, 256, '\0', 128),
         "Summe 0x0780, CRC-32 0x7683CADD",
         "0x80"},
    };
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "");
    for (const Case& c : cases) {
        const std::string out = dir.Path(c.output);
        Arguments plan = {"plan", dir.Path("plan.txt"), "-o", out, "--vx4", dir.Path("k.vx4")};
        plan.insert(plan.end(), c.options.begin(), c.options.end());
        const ToolOutput planned = RunTool(plan);
        EXPECT_EQ(planned.err, ChecksumLine(out, c.checksums));
        EXPECT_EQ(DataOf(out), c.chip);

        const std::string bytes = ReadBytes(out);
        Arguments encode = {"encode", dir.Path("k.vx4"), "-o", out};
        encode.insert(encode.end(), c.options.begin(), c.options.end());
        const ToolOutput encoded = RunTool(encode);
        EXPECT_EQ(encoded.err, ChecksumLine(out, c.checksums));
        EXPECT_EQ(ReadBytes(out), bytes);

        const ToolOutput inspected = RunTool({"inspect", "--offset", c.offset, out});
        EXPECT_NE(inspected.out.find("\nPrüfsummen: " + c.checksums + "\n"), std::string::npos)
            << inspected.out << inspected.err;
    }
}

// A chip read back compares with the plan's table by the 128 bytes at the offset; the rest of
// the chip must be the fill. Standard input is read as a file is.
TEST(ChipImages, DiffComparesAReadBackWithThePlan) {
    struct Case {
        const char* name;
        std::size_t changedAt;  // 0: no byte changed
        char changedTo;
        std::string out;
        int exitCode;
    };
    const std::string image = ImageBytes({{1, kWorkedChannel}});
    const Case cases[] = {
        {"Same", 0, 0, "", 0},
        // Byte 0x100 is D0 of channel 16.
        {"InsideTheImage", 0x100, '\x03', "Kanal 16: leer gegen 3743414.535 kHz (D0 verschieden)\n",
         1},
        {"OutsideTheImage", 0x7FF, '\x00',
         "B: 1 Byte außerhalb der 128 Bytes am Versatz 0x100 ist nicht 0xFF: 0x7FF\n", 1},
    };
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "798300\n");
    ASSERT_EQ(RunTool({"plan", dir.Path("plan.txt"), "-o", dir.Path("p.bin"), "--vx4",
                       dir.Path("plan.vx4")})
                  .exitCode,
              0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string chip = Chip(image, 2048, '\xFF', 0x100);
        if (c.changedAt != 0) {
            chip[c.changedAt] = c.changedTo;
        }
        WriteBytes(dir.Path("read.bin"), chip);
        const ToolOutput byName =
            RunTool({"diff", "--offset", "0x100", dir.Path("plan.vx4"), dir.Path("read.bin")});
        EXPECT_EQ(byName.out, c.out);
        EXPECT_EQ(byName.exitCode, c.exitCode);

        const int input = ::open(dir.Path("read.bin").c_str(), O_RDONLY | O_CLOEXEC);
        const ToolOutput piped =
            RunTool({"diff", "--offset", "256", dir.Path("plan.vx4"), "-"}, {}, input);
        ::close(input);
        EXPECT_EQ(piped.out, c.out);
        EXPECT_EQ(piped.exitCode, c.exitCode);
        EXPECT_EQ(piped.err.substr(0, 28), "vx40-tool: Standardeingabe: ");
    }
}

// Sizes and offsets that cannot hold the image are refused as a wrong call, writing nothing.
TEST(ChipImages, BadLayoutsAreRefused) {
    struct Case {
        Arguments options;
        std::string message;
    };
    const Case cases[] = {
        {{"--size", "100"},
         "--size: \"100\" ist keine Chipgröße in Bytes von 128 bis 1048576 (dezimal oder "
         "hexadezimal mit 0x)."},
        {{"--size", "0x100001"},
         "--size: \"0x100001\" ist keine Chipgröße in Bytes von 128 bis 1048576 (dezimal oder "
         "hexadezimal mit 0x)."},
        {{"--size", "2048", "--fill", "256"},
         "--fill: \"256\" ist kein Füllbyte von 0 bis 255 (dezimal oder hexadezimal mit 0x)."},
        {{"--size", "2048", "--offset", "1921"},
         "Die 128 Bytes am Versatz 0x781 passen nicht in einen Chip von 2048 Bytes (--size, "
         "--offset)."},
        {{"--offset", "0x80"},
         "Die 128 Bytes am Versatz 0x80 passen nicht in einen Chip von 128 Bytes (--size, "
         "--offset)."},
    };
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), "798300\n");
    for (const Case& c : cases) {
        Arguments plan = {"plan", dir.Path("plan.txt"), "-o", dir.Path("k.bin")};
        plan.insert(plan.end(), c.options.begin(), c.options.end());
        const ToolOutput output = RunTool(plan);
        EXPECT_EQ(output.exitCode, 2);
        EXPECT_EQ(output.err.substr(0, output.err.find('\n')), "vx40-tool: " + c.message);
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"plan.txt"}) << c.message;
    }
}

}  // namespace
}  // namespace vx40::cli_test
