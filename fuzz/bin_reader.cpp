// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstddef>
#include <cstdint>
#include <string>

#include "channel/CellText.h"
#include "channel/ChannelTable.h"
#include "files/BinImage.h"
#include "files/FileFailureText.h"
#include "files/ImageReader.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzTempDir.h"

namespace {

// A refusal changes no cell; an image sets every data nibble and nothing else.
void CheckCells(const vx40::ChannelTable& table, bool accepted) {
    for (int r = 0; r < vx40::kRowCount; ++r) {
        for (int c = 0; c < vx40::kColumnCount; ++c) {
            const bool nibbleCell = r >= 1 && c >= vx40::kFirstNibbleColumn;
            if (!accepted || !nibbleCell) {
                VX40_FUZZ_CHECK(table.Cell(c, r) == "old");
            } else {
                VX40_FUZZ_CHECK(vx40::NibbleValue(table.Cell(c, r)).has_value());
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = FuzzTempDir() + "/fuzz.bin";
    WriteWholeFile(path, bytes);

    vx40::ChannelTable table;
    for (int r = 0; r < vx40::kRowCount; ++r) {
        for (int c = 0; c < vx40::kColumnCount; ++c) {
            table.SetCell(c, r, "old");
        }
    }
    // As the window reads a bin file: an image is applied, a refusal changes nothing.
    const auto read = vx40::ReadImageFile(path, vx40::ReadableFiles::AnyExceptDirectories,
                                          vx40::ImageContent::BinOnly);
    if (read) {
        vx40::ApplyBinImage(table, *read);
    }

    bool allNibbles = size >= vx40::kBinImageSize;
    for (std::size_t i = 0; allNibbles && i < vx40::kBinImageSize; ++i) {
        allNibbles = data[i] <= 0x0F;
    }
    VX40_FUZZ_CHECK(read.Ok() == allNibbles);
    VX40_FUZZ_CHECK(read.Ok() || !vx40::ImageFailureText(read.Error(), path).empty());
    CheckCells(table, read.Ok());
    if (read.Ok()) {
        // The table writes back exactly the first 128 bytes it was read from.
        const auto rebuilt = vx40::BuildBinImage(table);
        VX40_FUZZ_CHECK(rebuilt.Ok());
        VX40_FUZZ_CHECK(std::string(rebuilt->begin(), rebuilt->end()) ==
                        bytes.substr(0, vx40::kBinImageSize));
    }
    return 0;
}
