// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/BinFile.h"

#include <cstdint>
#include <cstring>
#include <span>

#include "files/EpromFormats.h"
#include "files/FileFailureText.h"
#include "os/FileRead.h"
#include "text/ShownText.h"

namespace vx40 {

namespace {

// A cell loaded from a file may hold a long text; the message shows its start.
constexpr std::size_t kShownCellTextLength = 40;

std::string ShownCellText(const std::string& text) {
    if (text.size() <= kShownCellTextLength) {
        return ShownText(text);
    }
    std::size_t cut = kShownCellTextLength;
    // Never cut inside a UTF-8 sequence.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return ShownText(text.substr(0, cut)) + "…";
}

}  // namespace

std::string InvalidNibbleCellMessage(const InvalidNibbleCell& invalid) {
    return "Kanal " + std::to_string(invalid.cell.channel) + ", D" +
           std::to_string(invalid.cell.nibble) + " enthält \"" + ShownCellText(invalid.text) +
           "\": kein gültiges Datennibble (00 bis 0F). Es wurde nichts geschrieben.";
}

BinWriteResult WriteBinFile(const ChannelTable& table, const std::string& path) {
    return WriteImageFile(table, path, ImageFormat::Bin);
}

std::string_view BinRefusalMessage(BinImageFault fault) {
    switch (fault) {
        case BinImageFault::TooShort:
            return kBinTooShortMessage;
        case BinImageFault::InvalidData:
            return kBinInvalidDataMessage;
        case BinImageFault::None:
        case BinImageFault::InvalidRecords:
            break;
    }
    return {};
}

BinImageParse ParseBinFilePrefix(const Result<std::string>& prefix) {
    if (!prefix.Ok()) {
        BinImageParse refused;
        refused.fault = BinImageFault::TooShort;
        return refused;
    }
    return ParseBinImage(
        std::span(reinterpret_cast<const std::uint8_t*>(prefix->data()), prefix->size()));
}

BinImageParse ReadBinFile(const std::string& path) {
    return ParseBinFilePrefix(
        ReadFilePrefix(path, kBinImageSize, ReadableFiles::AnyExceptDirectories));
}

BinImageParse ReadBinFileInto(ChannelTable& table, const std::string& path) {
    BinImageParse read = ReadBinFile(path);
    if (read.Accepted()) {
        ApplyBinImage(table, read.image);
    }
    return read;
}

}  // namespace vx40
