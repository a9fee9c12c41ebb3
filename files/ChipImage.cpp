// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ChipImage.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

#include "channel/CellText.h"
#include "text/CharacterRules.h"
#include "text/ShownText.h"

namespace vx40 {
namespace {

// Decimal digits, or "0x" and hexadecimal digits; nothing else, no sign, no blanks. Values beyond
// what any option takes count as out of range, so a long number is refused as too large.
std::optional<std::uint64_t> ChipNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (end != text.data() + text.size()) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return error == std::errc() ? std::optional(value) : std::nullopt;
}

Failure LayoutRefusal(std::string message) {
    return Failure(FailureKind::ChipLayoutRefused, 0, std::move(message));
}

Failure ChipRefusal(std::string message) {
    return Failure(FailureKind::ChipImageRefused, 0, std::move(message));
}

Result<std::uint64_t> NumberIn(std::string_view text, std::uint64_t min, std::uint64_t max,
                               const std::string& what) {
    const std::optional<std::uint64_t> value = ChipNumber(text);
    if (!value || *value < min || *value > max) {
        return LayoutRefusal("\"" + ShownText(text, 40) + "\" ist " + what + " von " +
                             DecimalText(static_cast<std::int64_t>(min)) + " bis " +
                             DecimalText(static_cast<std::int64_t>(max)) +
                             " (dezimal oder hexadezimal mit 0x).");
    }
    return *value;
}

std::string BytesText(std::size_t count) {
    return DecimalText(static_cast<std::int64_t>(count)) + (count == 1 ? " Byte" : " Bytes");
}

}  // namespace

std::string ChipAddressText(std::uint64_t address) {
    char digits[20];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), address, 16).ptr;
    std::string text(std::begin(digits), end);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'f' ? static_cast<char>(c - 32) : c; });
    return "0x" + std::string(text.size() < 2 ? 2 - text.size() : 0, '0') + text;
}

Result<std::size_t> ChipSizeValue(std::string_view text) {
    const Result<std::uint64_t> value =
        NumberIn(text, kBinImageSize, kMaxChipSize, "keine Chipgröße in Bytes");
    if (!value) {
        return value.Error();
    }
    return static_cast<std::size_t>(*value);
}

Result<std::uint8_t> ChipFillValue(std::string_view text) {
    const Result<std::uint64_t> value = NumberIn(text, 0, 255, "kein Füllbyte");
    if (!value) {
        return value.Error();
    }
    return static_cast<std::uint8_t>(*value);
}

Result<std::size_t> ChipOffsetValue(std::string_view text) {
    const Result<std::uint64_t> value =
        NumberIn(text, 0, kMaxChipSize - kBinImageSize, "kein Versatz in Bytes");
    if (!value) {
        return value.Error();
    }
    return static_cast<std::size_t>(*value);
}

Status CheckChipLayout(const ChipLayout& layout) {
    if (layout.size < kBinImageSize || layout.size > kMaxChipSize ||
        layout.offset > layout.size - kBinImageSize) {
        return LayoutRefusal("Die 128 Bytes am Versatz " + ChipAddressText(layout.offset) +
                             " passen nicht in einen Chip von " + BytesText(layout.size) +
                             " (--size, --offset).");
    }
    return {};
}

std::vector<std::uint8_t> ChipBytes(const BinImage& image, const ChipLayout& layout) {
    std::vector<std::uint8_t> chip(layout.size, layout.fill);
    std::copy(image.begin(), image.end(),
              chip.begin() + static_cast<std::ptrdiff_t>(layout.offset));
    return chip;
}

Result<std::vector<std::uint8_t>> ChipBytesOfTable(const ChannelTable& table,
                                                   const ChipLayout& layout) {
    const Result<BinImage> image = BuildBinImage(table);
    if (!image) {
        return image.Error();
    }
    return ChipBytes(*image, layout);
}

Result<BinImage> ImageInChip(std::span<const std::uint8_t> chip, std::size_t offset) {
    if (chip.size() < kBinImageSize) {
        return ChipRefusal("Das Abbild hat nur " + BytesText(chip.size()) +
                           ", die Kanaltabelle braucht 128.");
    }
    const std::size_t at = chip.size() == kBinImageSize ? 0 : offset;
    if (at > chip.size() - kBinImageSize) {
        return ChipRefusal("Die 128 Bytes am Versatz " + ChipAddressText(at) +
                           " gehen über das Abbild von " + BytesText(chip.size()) + " hinaus.");
    }
    BinImage image{};
    for (std::size_t i = 0; i < kBinImageSize; ++i) {
        const std::uint8_t byte = chip[at + i];
        if (byte > 0x0F) {
            return ChipRefusal("An der Adresse " + ChipAddressText(at + i) + " steht " +
                               ChipAddressText(byte) + ", kein Datennibble (0x00 bis 0x0F).");
        }
        image[i] = byte;
    }
    return image;
}

ChipRest ChipRestOf(std::span<const std::uint8_t> chip, std::size_t offset, std::uint8_t fill) {
    ChipRest rest;
    if (chip.size() <= kBinImageSize) {
        return rest;
    }
    for (std::size_t address = 0; address < chip.size(); ++address) {
        if ((address >= offset && address - offset < kBinImageSize) || chip[address] == fill) {
            continue;
        }
        if (++rest.differing <= kChipRestAddressesShown) {
            rest.firstAddresses.push_back(address);
        }
    }
    return rest;
}

std::string ChipRestText(const ChipRest& rest, std::size_t offset, std::uint8_t fill) {
    std::string text = BytesText(rest.differing) + " außerhalb der 128 Bytes am Versatz " +
                       ChipAddressText(offset) + (rest.differing == 1 ? " ist" : " sind") +
                       " nicht " + ChipAddressText(fill) + ": ";
    for (std::size_t i = 0; i < rest.firstAddresses.size(); ++i) {
        text += (i == 0 ? "" : ", ") + ChipAddressText(rest.firstAddresses[i]);
    }
    return text + (rest.differing > rest.firstAddresses.size() ? ", …" : "");
}

}  // namespace vx40
