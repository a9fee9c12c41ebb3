// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/EpromFormats.h"

#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "os/FileRead.h"
#include "os/FileReplace.h"

namespace vx40 {

namespace {

constexpr std::size_t kBytesPerRecord = 16;
constexpr std::string_view kSRecordHeader = "VX40";

// One record holds at most 255 bytes, so no valid line comes near this; blanks around it aside.
constexpr std::size_t kMaxLineLength = 1024;

// An editor may put the UTF-8 byte-order mark before a text of records.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

void AppendHex(std::string& out, std::uint64_t value, int bytes) {
    for (int shift = 8 * bytes - 4; shift >= 0; shift -= 4) {
        out += kHexDigits[(value >> shift) & 0x0F];
    }
}

std::uint8_t ByteSum(std::span<const std::uint8_t> bytes) {
    unsigned sum = 0;
    for (const std::uint8_t byte : bytes) {
        sum += byte;
    }
    return static_cast<std::uint8_t>(sum & 0xFF);
}

// The line of a record: its lead-in, then its bytes and the checksum over them in hexadecimal.
std::string RecordLine(std::string_view leadIn, std::span<const std::uint8_t> bytes,
                       std::uint8_t checksum) {
    std::string line(leadIn);
    for (const std::uint8_t byte : bytes) {
        AppendHex(line, byte, 1);
    }
    AppendHex(line, checksum, 1);
    line += '\n';
    return line;
}

// Intel HEX: the checksum makes the sum of all bytes of the record zero.
std::string IntelHexLine(std::uint8_t type, std::uint16_t address,
                         std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(data.size()),
                                       static_cast<std::uint8_t>(address >> 8),
                                       static_cast<std::uint8_t>(address & 0xFF), type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    return RecordLine(":", bytes, static_cast<std::uint8_t>(0x100 - ByteSum(bytes)));
}

// S-records: the count covers address, data and checksum; the checksum is the ones' complement
// of the sum of count, address and data.
std::string SRecordLine(char type, std::uint16_t address, std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(data.size() + 3),
                                       static_cast<std::uint8_t>(address >> 8),
                                       static_cast<std::uint8_t>(address & 0xFF)};
    bytes.insert(bytes.end(), data.begin(), data.end());
    return RecordLine(std::string{'S', type}, bytes, static_cast<std::uint8_t>(~ByteSum(bytes)));
}

template <typename LineOf>
std::string DataLines(const BinImage& image, LineOf lineOf) {
    std::string text;
    for (std::size_t offset = 0; offset < image.size(); offset += kBytesPerRecord) {
        text += lineOf(static_cast<std::uint16_t>(offset),
                       std::span(image).subspan(offset, kBytesPerRecord));
    }
    return text;
}

std::span<const std::uint8_t> AsBytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string_view AsText(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::optional<std::uint8_t> HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<std::uint8_t>(c - '0');
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<std::uint8_t>(c - 'A' + 10);
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<std::uint8_t>(c - 'a' + 10);
    }
    return std::nullopt;
}

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string AddressText(std::uint64_t address) {
    std::string text = "0x";
    AppendHex(text, address, 1);
    return text;
}

constexpr std::string_view kCoverageRule =
    ": die Datensätze müssen die Adressen 0x00 bis 0x7F genau einmal belegen.";

std::uint64_t BigEndian(std::span<const std::uint8_t> bytes) {
    std::uint64_t value = 0;
    for (const std::uint8_t byte : bytes) {
        value = (value << 8) | byte;
    }
    return value;
}

// Takes a content as it arrives and finds out first whether it is a text of records: after a
// byte-order mark and white space of any length, ':' and a hexadecimal digit start Intel HEX,
// 'S' and a decimal digit S-records; anything else is binary. A text of records is then taken
// line by line, a line ending in LF, CR LF or a CR alone, and gives the bytes at addresses 0 to
// 127. The first fault ends the reading. Only the line being read is kept, so white space before
// the first record costs nothing however long it is.
class RecordReader {
  public:
    // False once the outcome is settled: the text is refused or the content is binary.
    bool Feed(std::string_view chunk) {
        for (const char c : chunk) {
            if (Settled()) {
                break;
            }
            Take(c);
        }
        return !Settled();
    }

    // Known once the first record has begun, or the content cannot be a text of records.
    std::optional<ImageFormat> Format() const { return format_; }
    // At the end of the content: one that never began a record is binary.
    ImageFormat FinalFormat() const { return format_.value_or(ImageFormat::Bin); }

    BinImageParse Finish() {
        if (message_.empty() && !pending_.empty()) {
            TakePendingLine();
        }
        if (message_.empty() && format_ == ImageFormat::IntelHex && !ended_) {
            message_ = "Der Endesatz (Typ 01) fehlt: die Intel-HEX-Datei ist unvollständig.";
        }
        for (std::size_t address = 0; message_.empty() && address < kBinImageSize; ++address) {
            if (!covered_[address]) {
                message_ = "Die Adresse " + AddressText(address) +
                           " ist von keinem Datensatz belegt" + std::string(kCoverageRule);
            }
        }
        if (!message_.empty()) {
            BinImageParse refused;
            refused.fault = BinImageFault::InvalidRecords;
            refused.recordMessage = message_;
            return refused;
        }
        return ParseBinImage(image_);
    }

  private:
    bool Settled() const { return format_ == ImageFormat::Bin || !message_.empty(); }

    void Take(char c) {
        if (!format_ && !TakeBeforeFirstRecord(c)) {
            return;
        }
        if (c == '\n' && afterCarriageReturn_) {
            afterCarriageReturn_ = false;
            return;
        }
        afterCarriageReturn_ = c == '\r';
        if (c == '\r' || c == '\n') {
            TakePendingLine();
        } else if (!pending_.empty() || !IsWhiteSpace(c)) {
            if (pending_.size() == kMaxLineLength) {
                RefuseLine(lineNumber_ + 1, "Zeile zu lang");
                return;
            }
            pending_ += c;
        }
    }

    // Decides the format at the first byte that is neither white space nor part of the
    // byte-order mark, or at the byte after it. False for a byte that is no part of the text.
    bool TakeBeforeFirstRecord(char c) {
        const std::size_t at = seen_++;
        if (at == markLength_ && at < kByteOrderMark.size() && c == kByteOrderMark[at]) {
            ++markLength_;
            return false;
        }
        if (markLength_ != 0 && markLength_ < kByteOrderMark.size()) {
            format_ = ImageFormat::Bin;  // a part of the mark is not white space
            return false;
        }
        if (pending_.empty()) {
            if (!IsWhiteSpace(c) && c != ':' && c != 'S') {
                format_ = ImageFormat::Bin;
                return false;
            }
            return true;
        }
        if (pending_ == ":" && HexValue(c)) {
            format_ = ImageFormat::IntelHex;
        } else if (pending_ == "S" && c >= '0' && c <= '9') {
            format_ = ImageFormat::SRecord;
        } else {
            format_ = ImageFormat::Bin;
        }
        return format_ != ImageFormat::Bin;
    }

    void TakePendingLine() {
        ++lineNumber_;
        std::string_view line = pending_;
        while (!line.empty() && IsWhiteSpace(line.back())) {
            line.remove_suffix(1);
        }
        if (!line.empty()) {
            TakeRecord(line);
        }
        pending_.clear();
    }

    bool RefuseLine(std::size_t lineNumber, std::string_view reason) {
        message_ = "Zeile " + std::to_string(lineNumber) + ": kein gültiger " +
                   (format_ == ImageFormat::IntelHex ? "Intel-HEX-Datensatz" : "S-Datensatz") +
                   " (" + std::string(reason) + ").";
        return false;
    }
    bool Refuse(std::string_view reason) { return RefuseLine(lineNumber_, reason); }

    // The bytes of the hexadecimal digits after the lead-in.
    std::optional<std::vector<std::uint8_t>> RecordBytes(std::string_view digits) {
        if (digits.size() % 2 != 0) {
            Refuse("ungerade Zahl von Hexadezimalziffern");
            return std::nullopt;
        }
        std::vector<std::uint8_t> bytes;
        for (std::size_t i = 0; i < digits.size(); i += 2) {
            const std::optional<std::uint8_t> high = HexValue(digits[i]);
            const std::optional<std::uint8_t> low = HexValue(digits[i + 1]);
            if (!high || !low) {
                Refuse("Zeichen, das keine Hexadezimalziffer ist");
                return std::nullopt;
            }
            bytes.push_back(static_cast<std::uint8_t>(*high << 4 | *low));
        }
        return bytes;
    }

    bool TakeRecord(std::string_view line) {
        if (ended_) {
            return Refuse("Datensatz nach dem Endesatz");
        }
        if (format_ == ImageFormat::IntelHex) {
            if (line.front() != ':') {
                return Refuse("beginnt nicht mit ':'");
            }
            const auto bytes = RecordBytes(line.substr(1));
            return bytes && IntelRecord(*bytes);
        }
        if (line.size() < 2 || line.front() != 'S' || line[1] < '0' || line[1] > '9') {
            return Refuse("beginnt nicht mit 'S' und einer Ziffer");
        }
        const auto bytes = RecordBytes(line.substr(2));
        return bytes && SRecord(line[1] - '0', *bytes);
    }

    // bytes: count, address high and low, type, data, checksum.
    bool IntelRecord(const std::vector<std::uint8_t>& bytes) {
        if (bytes.size() < 5 || bytes.size() != bytes[0] + 5u) {
            return Refuse("Länge passt nicht zur Längenangabe");
        }
        if (ByteSum(bytes) != 0) {
            return Refuse("Prüfsumme falsch");
        }
        const std::uint8_t type = bytes[3];
        const std::span data = std::span(bytes).subspan(4, bytes[0]);
        const std::size_t expectedLength[] = {data.size(), 0, 2, 4, 2, 4};
        if (type >= std::size(expectedLength)) {
            return Refuse("unbekannter Satztyp " + TypeText(type));
        }
        if (data.size() != expectedLength[type]) {
            return Refuse("falsche Länge für Satztyp " + TypeText(type));
        }
        switch (type) {
            case 0x00:
                return Store(base_ + BigEndian(std::span(bytes).subspan(1, 2)), data);
            case 0x01:
                ended_ = true;
                return true;
            case 0x02:
                base_ = BigEndian(data) << 4;
                return true;
            case 0x04:
                base_ = BigEndian(data) << 16;
                return true;
            default:
                return true;  // a start address means nothing to a memory image
        }
    }

    static std::string TypeText(std::uint8_t type) {
        std::string text;
        AppendHex(text, type, 1);
        return text;
    }

    // bytes: count, address, data, checksum; the count covers all after itself.
    bool SRecord(int type, const std::vector<std::uint8_t>& bytes) {
        // The address length of S0 to S9; S4 is reserved.
        constexpr std::array<std::size_t, 10> kAddressLength = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};
        const auto addressLength = kAddressLength[static_cast<std::size_t>(type)];
        if (addressLength == 0) {
            return Refuse("unbekannter Satztyp S" + std::to_string(type));
        }
        if (bytes.empty() || bytes.size() != bytes[0] + 1u || bytes[0] < addressLength + 1) {
            return Refuse("Länge passt nicht zur Längenangabe");
        }
        if (ByteSum(bytes) != 0xFF) {
            return Refuse("Prüfsumme falsch");
        }
        const std::uint64_t address = BigEndian(std::span(bytes).subspan(1, addressLength));
        const std::span data =
            std::span(bytes).subspan(1 + addressLength, bytes.size() - 2 - addressLength);
        if (type >= 5 && !data.empty()) {
            return Refuse("falsche Länge für Satztyp S" + std::to_string(type));
        }
        if (type >= 1 && type <= 3) {
            ++dataRecords_;
            return Store(address, data);
        }
        if (type == 5 || type == 6) {
            if (address != dataRecords_) {
                return Refuse("Satzzahl " + std::to_string(address) + ", aber " +
                              std::to_string(dataRecords_) + " Datensätze davor");
            }
        }
        ended_ = type >= 7;
        return true;
    }

    bool Store(std::uint64_t address, std::span<const std::uint8_t> data) {
        for (std::size_t i = 0; i < data.size() && address + i < kBinImageSize; ++i) {
            const std::size_t at = static_cast<std::size_t>(address + i);
            if (covered_[at]) {
                message_ = "Zeile " + std::to_string(lineNumber_) + ": die Adresse " +
                           AddressText(at) + " ist schon belegt" + std::string(kCoverageRule);
                return false;
            }
            if (data[i] > 0x0F) {
                message_ = "Zeile " + std::to_string(lineNumber_) + ": an der Adresse " +
                           AddressText(at) + " steht " + AddressText(data[i]) +
                           ", kein Datennibble (0x00 bis 0x0F).";
                return false;
            }
            covered_[at] = true;
            image_[at] = data[i];
        }
        return true;
    }

    std::optional<ImageFormat> format_;
    std::size_t seen_ = 0;        // bytes taken before the format was known
    std::size_t markLength_ = 0;  // bytes of the byte-order mark among them
    bool afterCarriageReturn_ = false;
    std::string pending_;
    std::size_t lineNumber_ = 0;
    bool ended_ = false;
    std::uint64_t base_ = 0;
    std::uint64_t dataRecords_ = 0;
    BinImage image_{};
    std::array<bool, kBinImageSize> covered_{};
    std::string message_;
};

}  // namespace

std::string EncodedImage(const BinImage& image, ImageFormat format) {
    switch (format) {
        case ImageFormat::IntelHex:
            return IntelHexText(image);
        case ImageFormat::SRecord:
            return SRecordText(image);
        case ImageFormat::Bin:
            break;
    }
    return {reinterpret_cast<const char*>(image.data()), image.size()};
}

std::string IntelHexText(const BinImage& image) {
    return DataLines(image,
                     [](std::uint16_t address, std::span<const std::uint8_t> data) {
                         return IntelHexLine(0x00, address, data);
                     }) +
           IntelHexLine(0x01, 0, {});
}

std::string SRecordText(const BinImage& image) {
    return SRecordLine('0', 0, AsBytes(kSRecordHeader)) +
           DataLines(image,
                     [](std::uint16_t address, std::span<const std::uint8_t> data) {
                         return SRecordLine('1', address, data);
                     }) +
           SRecordLine('9', 0, {});
}

ImageFormat DetectImageFormat(std::span<const std::uint8_t> bytes) {
    RecordReader reader;
    for (std::size_t at = 0; at < bytes.size() && !reader.Format(); ++at) {
        reader.Feed(AsText(bytes.subspan(at, 1)));
    }
    return reader.FinalFormat();
}

BinImageParse ParseImage(std::span<const std::uint8_t> bytes) {
    RecordReader reader;
    reader.Feed(AsText(bytes));
    if (reader.FinalFormat() == ImageFormat::Bin) {
        return ParseBinImage(bytes);
    }
    return reader.Finish();
}

ImageFileRead ReadImageStream(const std::string& path, ReadableFiles kinds) {
    std::string head;
    RecordReader reader;
    Status read = ReadFileChunks(
        path, std::numeric_limits<std::size_t>::max(), kinds, [&](std::string_view chunk) {
            if (head.size() < kBinImageSize) {
                head.append(chunk.substr(0, kBinImageSize - head.size()));
            }
            return reader.Feed(chunk) ||
                   (reader.FinalFormat() == ImageFormat::Bin && head.size() < kBinImageSize);
        });
    if (reader.FinalFormat() != ImageFormat::Bin && read.Ok()) {
        return {read, reader.Finish()};
    }
    BinImageParse image =
        read.Ok() ? ParseBinFilePrefix(std::move(head)) : ParseBinFilePrefix(read.Error());
    return {std::move(read), std::move(image)};
}

BinImageParse ReadImageFile(const std::string& path) {
    return ReadImageStream(path, ReadableFiles::AnyExceptDirectories).image;
}

BinImageParse ReadImageFileInto(ChannelTable& table, const std::string& path) {
    BinImageParse read = ReadImageFile(path);
    if (read.Accepted()) {
        ApplyBinImage(table, read.image);
    }
    return read;
}

std::string ImageRefusalMessage(const BinImageParse& read) {
    if (read.fault == BinImageFault::InvalidRecords) {
        return read.recordMessage;
    }
    return std::string(BinRefusalMessage(read.fault));
}

BinWriteResult WriteImageFile(const ChannelTable& table, const std::string& path,
                              ImageFormat format) {
    BinWriteResult result;
    const BinImageBuild build = BuildBinImage(table);
    if (!build.image.has_value()) {
        result.outcome = BinWriteOutcome::InvalidCell;
        result.invalidCell = build.invalidCell;
        result.message = InvalidNibbleCellMessage(*build.invalidCell);
        return result;
    }
    result.replace = ReplaceFile(path, EncodedImage(*build.image, format), SyncToDisk::Yes);
    if (!result.replace.Ok()) {
        result.outcome = BinWriteOutcome::WriteFailed;
        result.message = FileWriteFailureMessage(path, result.replace);
    }
    return result;
}

}  // namespace vx40
