// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "channel/ChannelTable.h"
#include "files/BinImage.h"
#include "files/ChipImage.h"
#include "files/FileFailureText.h"
#include "files/ImageFormats.h"
#include "files/ImageReader.h"
#include "files/IntelHex.h"
#include "files/SRecords.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTempDir.h"

namespace {

using ImageRead = vx40::Result<vx40::BinImage>;

bool SameOutcome(const ImageRead& a, const ImageRead& b) {
    if (a.Ok() || b.Ok()) {
        return a.Ok() && b.Ok() && *a == *b;
    }
    return a.Error().kind == b.Error().kind && a.Error().position == b.Error().position &&
           a.Error().detail == b.Error().detail;
}

ImageRead ParseText(const std::string& text) {
    return vx40::ReadImage({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

// Binary content reads exactly as a bin file, and an acceptable bin image reads as records only
// when its first 128 bytes are all white space.
void CheckBinRules(std::span<const std::uint8_t> bytes, const std::string& path,
                   const ImageRead& read, vx40::ImageFormat format) {
    const ImageRead binOnly = vx40::ReadImage(bytes, vx40::ImageContent::BinOnly);
    if (format == vx40::ImageFormat::Bin) {
        VX40_FUZZ_CHECK(
            SameOutcome(read, vx40::ReadImageFile(path, vx40::ReadableFiles::AnyExceptDirectories,
                                                  vx40::ImageContent::BinOnly)));
        VX40_FUZZ_CHECK(SameOutcome(read, binOnly));
    }
    if (binOnly.Ok() && format != vx40::ImageFormat::Bin) {
        for (std::size_t at = 0; at < vx40::kBinImageSize; ++at) {
            VX40_FUZZ_CHECK(bytes[at] == '\t' || bytes[at] == '\n' || bytes[at] == '\r');
        }
    }
}

// What is accepted holds nibbles only, and writes out in both record formats and reads back the
// same.
void CheckAccepted(const vx40::BinImage& image) {
    for (const std::uint8_t nibble : image) {
        VX40_FUZZ_CHECK(nibble <= 0x0F);
    }
    for (const std::string& text : {vx40::IntelHexText(image), vx40::SRecordText(image)}) {
        const ImageRead again = ParseText(text);
        VX40_FUZZ_CHECK(again.Ok() && *again == image);
    }
}

// A chip read back reads the same from the file and from memory, and what is accepted writes
// out in both record formats and reads back as the same chip; a chip of 128 bytes or more that
// records fill from address 0 holds the image the 128-byte read gives.
void CheckChip(std::span<const std::uint8_t> bytes, const std::string& path,
               const ImageRead& read) {
    const auto chip = vx40::ReadChipImage(bytes, 0xFF);
    const auto fromFile =
        vx40::ReadChipImageFile(path, vx40::ReadableFiles::AnyExceptDirectories, 0xFF);
    VX40_FUZZ_CHECK(chip.Ok() == fromFile.Ok());
    if (!chip.Ok()) {
        VX40_FUZZ_CHECK(chip.Error().detail == fromFile.Error().detail);
        return;
    }
    VX40_FUZZ_CHECK(*chip == *fromFile && chip->size() <= vx40::kMaxChipSize);
    if (chip->size() <= 0x10000) {
        for (const std::string& text : {vx40::IntelHexText(*chip), vx40::SRecordText(*chip)}) {
            const auto again = vx40::ReadChipImage(
                {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, 0x00);
            VX40_FUZZ_CHECK(again.Ok() && *again == *chip);
        }
    }
    const ImageRead inChip = vx40::ImageInChip(*chip, 0);
    if (read.Ok() && chip->size() >= vx40::kBinImageSize) {
        VX40_FUZZ_CHECK(inChip.Ok() && *inChip == *read);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const std::string path = FuzzTempDir() + "/fuzz.img";
    WriteWholeFile(path, std::string(reinterpret_cast<const char*>(data), size));

    vx40::ChannelTable table;
    table.SetCell(4, 1, "old");
    const ImageRead read = vx40::ReadImageFile(path, vx40::ReadableFiles::AnyExceptDirectories);
    if (read.Ok()) {
        vx40::ApplyBinImage(table, *read);
    }
    const vx40::ImageFormat format = vx40::DetectImageFormat(bytes);

    // The stream read of the file and the read of the same bytes from memory agree.
    VX40_FUZZ_CHECK(SameOutcome(read, vx40::ReadImage(bytes)));
    CheckBinRules(bytes, path, read, format);
    CheckChip(bytes, path, read);
    if (read.Ok()) {
        CheckAccepted(*read);
        return 0;
    }
    // Records are refused with the reader's message, bin content by the bin rules.
    const vx40::FailureKind kind = read.Error().kind;
    VX40_FUZZ_CHECK((kind == vx40::FailureKind::ImageInvalidRecords) ==
                    (format != vx40::ImageFormat::Bin));
    VX40_FUZZ_CHECK(kind != vx40::FailureKind::ImageInvalidRecords || !read.Error().detail.empty());
    VX40_FUZZ_CHECK(!vx40::ImageFailureText(read.Error(), path).empty());
    VX40_FUZZ_CHECK(table.Cell(4, 1) == "old");  // a refusal changes no cell
    return 0;
}
