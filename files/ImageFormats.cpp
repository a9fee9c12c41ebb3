// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ImageFormats.h"

#include <array>

#include "files/IntelHex.h"
#include "files/SRecords.h"
#include "text/CharacterRules.h"

namespace vx40 {
namespace {

std::string BinBytes(const BinImage& image) {
    return {reinterpret_cast<const char*>(image.data()), image.size()};
}

constexpr std::array<std::string_view, 3> kIntelHexEndings = {".hex", ".ihx", ".ihex"};
constexpr std::array<std::string_view, 5> kSRecordEndings = {".srec", ".s19", ".s28", ".s37",
                                                             ".mot"};

constexpr std::array<ImageFormatEntry, 3> kFormats = {{
    {ImageFormat::Bin, "bin", "bin", {}, '\0', nullptr, {}, {}, BinBytes, nullptr},
    {ImageFormat::IntelHex, "ihex", "Intel HEX", kIntelHexEndings, ':',
     [](char c) { return HexDigitValue(c).has_value(); }, "Intel-HEX-Datensatz",
     "Der Endesatz (Typ 01) fehlt: die Intel-HEX-Datei ist unvollständig.", IntelHexText,
     NewIntelHexDecoder},
    {ImageFormat::SRecord, "srec", "S-Records", kSRecordEndings, 'S',
     [](char c) { return c >= '0' && c <= '9'; }, "S-Datensatz", {}, SRecordText,
     NewSRecordDecoder},
}};

}  // namespace

std::span<const ImageFormatEntry> ImageFormatTable() {
    return kFormats;
}

const ImageFormatEntry& ImageFormatEntryOf(ImageFormat format) {
    for (const ImageFormatEntry& entry : kFormats) {
        if (entry.format == format) {
            return entry;
        }
    }
    return kFormats.front();
}

std::string EncodedImage(const BinImage& image, ImageFormat format) {
    return ImageFormatEntryOf(format).encode(image);
}

}  // namespace vx40
