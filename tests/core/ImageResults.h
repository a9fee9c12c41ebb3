// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "channel/ChannelTable.h"
#include "files/BinImage.h"
#include "files/FileFailureText.h"
#include "files/ImageReader.h"

namespace vx40::testutil {

// What a read or a build gave: none for an image, else the failure's kind.
template <typename T>
std::optional<FailureKind> Outcome(const Result<T>& result) {
    if (result) {
        return std::nullopt;
    }
    return result.Error().kind;
}

// The text the window would show, empty for an image.
template <typename T>
std::string FailureText(const Result<T>& result, const std::string& path = "x") {
    return result ? std::string() : ImageFailureText(result.Error(), path);
}

inline Result<BinImage> ParseText(const std::string& text,
                                  ImageContent content = ImageContent::AnyFormat) {
    return ReadImage({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, content);
}

// Reads path as the window or the tool does and applies an image to the table.
inline Result<BinImage> ReadInto(ChannelTable& table, const std::string& path,
                                 ImageContent content = ImageContent::AnyFormat) {
    Result<BinImage> read = ReadImageFile(path, ReadableFiles::AnyExceptDirectories, content);
    if (read) {
        ApplyBinImage(table, *read);
    }
    return read;
}

}  // namespace vx40::testutil
