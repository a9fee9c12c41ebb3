// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ImageFormats.h"

#include <array>

#include "files/IntelHex.h"
#include "files/SRecords.h"
#include "text/CharacterRules.h"

namespace vx40 {
namespace {

// Bin has no addresses: the bytes stand from the start of the file.
std::string BinBytes(std::span<const std::uint8_t> bytes, std::uint32_t /*start*/) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

constexpr std::array<std::string_view, 3> kIntelHexEndings = {".hex", ".ihx", ".ihex"};
constexpr std::array<std::string_view, 5> kSRecordEndings = {".srec", ".s19", ".s28", ".s37",
                                                             ".mot"};

bool IsHexDigit(char c) {
    return HexDigitValue(c).has_value();
}

bool IsDecimalDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr std::array<ImageFormatEntry, 3> kFormats = {{
    {.format = ImageFormat::Bin,
     .name = "bin",
     .shown = "bin",
     .endings = {},
     .leadIn = '\0',
     .startsRecord = nullptr,
     .recordName = {},
     .missingEndText = {},
     .encode = BinBytes,
     .newDecoder = nullptr},
    {.format = ImageFormat::IntelHex,
     .name = "ihex",
     .shown = "Intel HEX",
     .endings = kIntelHexEndings,
     .leadIn = ':',
     .startsRecord = IsHexDigit,
     .recordName = "Intel-HEX-Datensatz",
     .missingEndText = "Der Endesatz (Typ 01) fehlt: die Intel-HEX-Datei ist unvollständig.",
     .encode = IntelHexText,
     .newDecoder = NewIntelHexDecoder},
    {.format = ImageFormat::SRecord,
     .name = "srec",
     .shown = "S-Records",
     .endings = kSRecordEndings,
     .leadIn = 'S',
     .startsRecord = IsDecimalDigit,
     .recordName = "S-Datensatz",
     .missingEndText = {},
     .encode = SRecordText,
     .newDecoder = NewSRecordDecoder},
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
    return EncodedBytes(image, format);
}

std::string EncodedBytes(std::span<const std::uint8_t> bytes, ImageFormat format) {
    return ImageFormatEntryOf(format).encode(bytes, 0);
}

}  // namespace vx40
