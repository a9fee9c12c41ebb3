// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/RecordText.h"

#include <utility>

#include "channel/CellText.h"
#include "text/CharacterRules.h"

namespace vx40 {

std::string RecordLine(std::string_view leadIn, std::span<const std::uint8_t> bytes,
                       std::uint8_t checksum) {
    std::string line(leadIn);
    for (const std::uint8_t byte : bytes) {
        line += TwoDigitHexText(byte);
    }
    line += TwoDigitHexText(checksum);
    line += '\n';
    return line;
}

std::string HexByteText(std::uint64_t value) {
    return "0x" + TwoDigitHexText(static_cast<std::int32_t>(value & 0xFF));
}

std::uint8_t ByteSum(std::span<const std::uint8_t> bytes) {
    unsigned sum = 0;
    for (const std::uint8_t byte : bytes) {
        sum += byte;
    }
    return static_cast<std::uint8_t>(sum & 0xFF);
}

std::uint64_t BigEndian(std::span<const std::uint8_t> bytes) {
    std::uint64_t value = 0;
    for (const std::uint8_t byte : bytes) {
        value = (value << 8) | byte;
    }
    return value;
}

Failure RecordRefusal(std::string reason) {
    return Failure(FailureKind::ImageInvalidRecords, 0, std::move(reason));
}

Result<std::vector<std::uint8_t>> RecordBytes(std::string_view digits) {
    if (digits.size() % 2 != 0) {
        return RecordRefusal("ungerade Zahl von Hexadezimalziffern");
    }
    std::vector<std::uint8_t> bytes;
    bytes.reserve(digits.size() / 2);
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const std::optional<unsigned> high = HexDigitValue(digits[i]);
        const std::optional<unsigned> low = HexDigitValue(digits[i + 1]);
        if (!high || !low) {
            return RecordRefusal("Zeichen, das keine Hexadezimalziffer ist");
        }
        bytes.push_back(static_cast<std::uint8_t>(*high << 4 | *low));
    }
    return bytes;
}

}  // namespace vx40
