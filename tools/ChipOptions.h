// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "base/Result.h"
#include "files/ChipImage.h"

namespace CLI {
class App;
}

namespace vx40::tool {

// "--size BYTES", "--fill BYTE", "--offset BYTES" of the commands that write an image: the chip
// the 128 bytes are placed in. Without them, the image alone.
void AddChipLayoutOptions(CLI::App& command, ChipLayout& layout);

// The call's refusal when the layout's 128 bytes do not fit its size.
Status CheckChipLayoutCall(const ChipLayout& layout);

// "--offset BYTES" and "--fill BYTE" of the commands that read an image: with an offset, the
// input is read as a whole chip and the 128 bytes taken at the offset; the fill is what a chip's
// unused bytes and the gaps between records are taken to hold.
struct ChipReading {
    std::optional<std::size_t> offset;
    std::uint8_t fill = kBlankChipByte;
};
void AddChipReadingOptions(CLI::App& command, ChipReading& reading);

// The checksums of the bytes of the image at path as one line of standard error:
// vx40-tool: "kanal.bin": Summe 0x1A2B, CRC-32 0x0123ABCD
// "-" is named as the standard input or output it stands for.
void PrintChecksumLine(std::ostream& err, const std::string& path, bool output,
                       std::span<const std::uint8_t> bytes);

}  // namespace vx40::tool
