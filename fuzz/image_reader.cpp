// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "channel/ChannelTable.h"
#include "files/BinFile.h"
#include "files/BinImage.h"
#include "files/EpromFormats.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTempDir.h"

namespace {

bool SameOutcome(const vx40::BinImageParse& a, const vx40::BinImageParse& b) {
    return a.fault == b.fault && a.image == b.image && a.invalidOffset == b.invalidOffset &&
           a.recordMessage == b.recordMessage;
}

vx40::BinImageParse ParseText(const std::string& text) {
    return vx40::ParseImage({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const std::string path = FuzzTempDir() + "/fuzz.img";
    WriteWholeFile(path, std::string(reinterpret_cast<const char*>(data), size));

    vx40::ChannelTable table;
    table.SetCell(4, 1, "old");
    const vx40::BinImageParse read = vx40::ReadImageFileInto(table, path);
    const vx40::ImageFormat format = vx40::DetectImageFormat(bytes);

    // The stream read of the file and the read of the same bytes from memory agree.
    VX40_FUZZ_CHECK(SameOutcome(read, vx40::ParseImage(bytes)));
    // Binary content reads exactly as a bin file, and an acceptable bin image reads as records
    // only when its first 128 bytes are all white space.
    if (format == vx40::ImageFormat::Bin) {
        VX40_FUZZ_CHECK(SameOutcome(read, vx40::ReadBinFile(path)));
    }
    if (vx40::ParseBinImage(bytes).Accepted() && format != vx40::ImageFormat::Bin) {
        for (std::size_t at = 0; at < vx40::kBinImageSize; ++at) {
            VX40_FUZZ_CHECK(bytes[at] == '\t' || bytes[at] == '\n' || bytes[at] == '\r');
        }
    }
    VX40_FUZZ_CHECK((read.fault == vx40::BinImageFault::InvalidRecords) ==
                    (!read.recordMessage.empty()));
    if (!read.Accepted()) {
        VX40_FUZZ_CHECK(!vx40::ImageRefusalMessage(read).empty());
        VX40_FUZZ_CHECK(table.Cell(4, 1) == "old");  // a refusal changes no cell
        return 0;
    }
    VX40_FUZZ_CHECK(vx40::ImageRefusalMessage(read).empty());
    for (const std::uint8_t nibble : read.image) {
        VX40_FUZZ_CHECK(nibble <= 0x0F);
    }
    // What is accepted writes out in both record formats and reads back the same.
    for (const std::string& text :
         {vx40::IntelHexText(read.image), vx40::SRecordText(read.image)}) {
        const vx40::BinImageParse again = ParseText(text);
        VX40_FUZZ_CHECK(again.Accepted() && again.image == read.image);
    }
    return 0;
}
