// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SRecords.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace vx40 {
namespace {

constexpr std::size_t kBytesPerRecord = 16;
constexpr std::string_view kHeader = "VX40";

// The count covers address, data and checksum; the checksum is the ones' complement of the sum
// of count, address and data.
std::string SRecordLine(char type, std::uint32_t address, std::size_t addressLength,
                        std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(data.size() + addressLength + 1)};
    for (std::size_t i = addressLength; i-- > 0;) {
        bytes.push_back(static_cast<std::uint8_t>((address >> (8 * i)) & 0xFF));
    }
    bytes.insert(bytes.end(), data.begin(), data.end());
    return RecordLine(std::string{'S', type}, bytes, static_cast<std::uint8_t>(~ByteSum(bytes)));
}

class SRecordDecoder {
  public:
    Result<DecodedRecord> operator()(std::string_view line) {
        if (line.size() < 2 || line.front() != 'S' || line[1] < '0' || line[1] > '9') {
            return RecordRefusal("beginnt nicht mit 'S' und einer Ziffer");
        }
        const Result<std::vector<std::uint8_t>> bytes = RecordBytes(line.substr(2));
        if (!bytes) {
            return bytes.Error();
        }
        return Record(line[1] - '0', *bytes);
    }

  private:
    // bytes: count, address, data, checksum; the count covers all after itself.
    Result<DecodedRecord> Record(int type, const std::vector<std::uint8_t>& bytes) {
        // The address length of S0 to S9; S4 is reserved.
        constexpr std::array<std::size_t, 10> kAddressLength = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};
        const auto addressLength = kAddressLength[static_cast<std::size_t>(type)];
        if (addressLength == 0) {
            return RecordRefusal("unbekannter Satztyp S" + std::to_string(type));
        }
        if (bytes.empty() || bytes.size() != bytes[0] + 1u || bytes[0] < addressLength + 1) {
            return RecordRefusal("Länge passt nicht zur Längenangabe");
        }
        if (ByteSum(bytes) != 0xFF) {
            return RecordRefusal("Prüfsumme falsch");
        }
        DecodedRecord record;
        record.address = BigEndian(std::span(bytes).subspan(1, addressLength));
        const std::span data =
            std::span(bytes).subspan(1 + addressLength, bytes.size() - 2 - addressLength);
        if (type >= 5 && !data.empty()) {
            return RecordRefusal("falsche Länge für Satztyp S" + std::to_string(type));
        }
        if (type >= 1 && type <= 3) {
            ++dataRecords_;
            record.data.assign(data.begin(), data.end());
        } else if ((type == 5 || type == 6) && record.address != dataRecords_) {
            return RecordRefusal("Satzzahl " + std::to_string(record.address) + ", aber " +
                                 std::to_string(dataRecords_) + " Datensätze davor");
        }
        record.ends = type >= 7;
        return record;
    }

    std::uint64_t dataRecords_ = 0;
};

}  // namespace

std::string SRecordText(std::span<const std::uint8_t> bytes, std::uint32_t start) {
    const std::uint64_t highest = bytes.empty() ? start : start + bytes.size() - 1;
    const std::size_t addressLength = highest <= 0xFFFF ? 2 : highest <= 0xFFFFFF ? 3 : 4;
    const char dataType = static_cast<char>('1' + (addressLength - 2));
    const char endType = static_cast<char>('9' - (addressLength - 2));
    const auto* header = reinterpret_cast<const std::uint8_t*>(kHeader.data());
    std::string text = SRecordLine('0', 0, 2, std::span(header, kHeader.size()));
    text.reserve(bytes.size() / kBytesPerRecord * 48 + 64);
    for (std::size_t at = 0; at < bytes.size(); at += kBytesPerRecord) {
        text += SRecordLine(dataType, static_cast<std::uint32_t>(start + at), addressLength,
                            bytes.subspan(at, std::min(kBytesPerRecord, bytes.size() - at)));
    }
    return text + SRecordLine(endType, 0, addressLength, {});
}

RecordLineDecoder NewSRecordDecoder() {
    return SRecordDecoder{};
}

}  // namespace vx40
