// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/IntelHex.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <string_view>
#include <vector>

#include "channel/CellText.h"

namespace vx40 {
namespace {

constexpr std::size_t kBytesPerRecord = 16;

// The checksum makes the sum of all bytes of the record zero.
std::string IntelHexLine(std::uint8_t type, std::uint16_t address,
                         std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(data.size()),
                                       static_cast<std::uint8_t>(address >> 8),
                                       static_cast<std::uint8_t>(address & 0xFF), type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    return RecordLine(":", bytes, static_cast<std::uint8_t>(0x100 - ByteSum(bytes)));
}

class IntelHexDecoder {
  public:
    Result<DecodedRecord> operator()(std::string_view line) {
        if (line.front() != ':') {
            return RecordRefusal("beginnt nicht mit ':'");
        }
        const Result<std::vector<std::uint8_t>> bytes = RecordBytes(line.substr(1));
        if (!bytes) {
            return bytes.Error();
        }
        return Record(*bytes);
    }

  private:
    // bytes: count, address high and low, type, data, checksum.
    Result<DecodedRecord> Record(const std::vector<std::uint8_t>& bytes) {
        if (bytes.size() < 5 || bytes.size() != bytes[0] + 5u) {
            return RecordRefusal("Länge passt nicht zur Längenangabe");
        }
        if (ByteSum(bytes) != 0) {
            return RecordRefusal("Prüfsumme falsch");
        }
        const std::uint8_t type = bytes[3];
        const std::span data = std::span(bytes).subspan(4, bytes[0]);
        const std::size_t expectedLength[] = {data.size(), 0, 2, 4, 2, 4};
        if (type >= std::size(expectedLength)) {
            return RecordRefusal("unbekannter Satztyp " + TwoDigitHexText(type));
        }
        if (data.size() != expectedLength[type]) {
            return RecordRefusal("falsche Länge für Satztyp " + TwoDigitHexText(type));
        }
        DecodedRecord record;
        switch (type) {
            case 0x00:
                record.address = base_ + BigEndian(std::span(bytes).subspan(1, 2));
                record.data.assign(data.begin(), data.end());
                break;
            case 0x01:
                record.ends = true;
                break;
            case 0x02:
                base_ = BigEndian(data) << 4;
                break;
            case 0x04:
                base_ = BigEndian(data) << 16;
                break;
            default:
                break;  // a start address means nothing to a memory image
        }
        return record;
    }

    std::uint64_t base_ = 0;
};

}  // namespace

std::string IntelHexText(std::span<const std::uint8_t> bytes, std::uint32_t start) {
    std::string text;
    text.reserve(bytes.size() / kBytesPerRecord * 44 + 64);  // ":10", 20 bytes, LF per record
    std::uint32_t upper = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto address = static_cast<std::uint32_t>(start + at);
        if (address >> 16 != upper) {
            upper = address >> 16;
            const std::uint8_t base[] = {static_cast<std::uint8_t>(upper >> 8),
                                         static_cast<std::uint8_t>(upper & 0xFF)};
            text += IntelHexLine(0x04, 0, base);
        }
        // A record never runs over a 64 KiB boundary, where the next 04 record must stand.
        const std::size_t length = std::min(
            {kBytesPerRecord, bytes.size() - at, std::size_t{0x10000} - (address & 0xFFFF)});
        text += IntelHexLine(0x00, static_cast<std::uint16_t>(address & 0xFFFF),
                             bytes.subspan(at, length));
        at += length;
    }
    return text + IntelHexLine(0x01, 0, {});
}

RecordLineDecoder NewIntelHexDecoder() {
    return IntelHexDecoder{};
}

}  // namespace vx40
