// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ImageReader.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "files/ChipImage.h"
#include "files/RecordText.h"
#include "text/CharacterRules.h"

namespace vx40 {
namespace {

// One record holds at most 255 bytes, so no valid line comes near this; blanks around it aside.
constexpr std::size_t kMaxLineLength = 1024;

// An editor may put the UTF-8 byte-order mark before a text of records.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

constexpr std::string_view kCoverageRule =
    ": die Datensätze müssen die Adressen 0x00 bis 0x7F genau einmal belegen.";

// Called for every byte before the first record, so a loop the compiler unrolls over the blanks.
constexpr bool IsWhiteSpace(char c) {
    for (const char blank : kRecordBlanks) {
        if (c == blank) {
            return true;
        }
    }
    return false;
}

std::string_view AsText(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The record format whose lead-in and second character these are, if any.
const ImageFormatEntry* RecordFormat(char leadIn, char second) {
    for (const ImageFormatEntry& entry : ImageFormatTable()) {
        if (entry.newDecoder && entry.leadIn == leadIn && entry.startsRecord(second)) {
            return &entry;
        }
    }
    return nullptr;
}

bool IsLeadIn(char c) {
    for (const ImageFormatEntry& entry : ImageFormatTable()) {
        if (entry.newDecoder && entry.leadIn == c) {
            return true;
        }
    }
    return false;
}

Result<BinImage> BinContent(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kBinImageSize) {
        return Failure(FailureKind::ImageTooShort);
    }
    BinImage image{};
    for (std::size_t offset = 0; offset < kBinImageSize; ++offset) {
        if (bytes[offset] > 0x0F) {
            return Failure(FailureKind::ImageInvalidData, 0, {}, offset);
        }
        image[offset] = bytes[offset];
    }
    return image;
}

// Takes a content as it arrives and finds out first whether it is a text of records; if so,
// takes it line by line, a line ending in LF, CR LF or a CR alone, and gives the bytes at
// addresses 0 to 127, or with a chip's fill byte those of the whole chip. The first fault ends
// the reading. Only the line being read is kept, so white space before the first record costs
// nothing however long it is.
class RecordReader {
  public:
    RecordReader() = default;
    explicit RecordReader(std::uint8_t chipFill) : chipFill_(chipFill) {}

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
    bool Decided() const { return binary_ || format_ != nullptr; }
    // The format of records, once known; null for a content that never began a record.
    const ImageFormatEntry* Records() const { return format_; }

    Result<BinImage> Finish() {
        const Result<std::vector<std::uint8_t>> bytes = FinishBytes();
        if (!bytes) {
            return bytes.Error();
        }
        BinImage image{};
        std::copy(bytes->begin(), bytes->end(), image.begin());
        return image;
    }

    // The bytes of the image, or with a chip's fill byte of the chip: up to the highest address a
    // record gives, every address no record gives holding the fill.
    Result<std::vector<std::uint8_t>> FinishBytes() {
        if (message_.empty() && !pending_.empty()) {
            TakePendingLine();
        }
        if (message_.empty() && !ended_) {
            message_ = format_->missingEndText;
        }
        for (std::size_t address = 0; !chipFill_ && message_.empty() && address < kBinImageSize;
             ++address) {
            if (!covered_[address]) {
                message_ = "Die Adresse " + HexByteText(address) +
                           " ist von keinem Datensatz belegt" + std::string(kCoverageRule);
            }
        }
        if (!message_.empty()) {
            return Failure(FailureKind::ImageInvalidRecords, 0, message_);
        }
        return std::move(image_);
    }

  private:
    bool Settled() const { return binary_ || !message_.empty(); }

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
            binary_ = true;  // a part of the mark is not white space
            return false;
        }
        if (pending_.empty()) {
            binary_ = !IsWhiteSpace(c) && !IsLeadIn(c);
            return !binary_;
        }
        format_ = RecordFormat(pending_.front(), c);
        binary_ = format_ == nullptr;
        if (format_) {
            decode_ = format_->newDecoder();
        }
        return !binary_;
    }

    void TakePendingLine() {
        ++lineNumber_;
        if (pending_.empty()) {
            return;
        }
        const std::string_view line = Trimmed(pending_, kRecordBlanks);
        if (!line.empty()) {
            TakeRecord(line);
        }
        pending_.clear();
    }

    void RefuseLine(std::size_t lineNumber, const std::string& reason) {
        message_ = "Zeile " + std::to_string(lineNumber) + ": kein gültiger " +
                   std::string(format_->recordName) + " (" + reason + ").";
    }

    void TakeRecord(std::string_view line) {
        if (ended_) {
            RefuseLine(lineNumber_, "Datensatz nach dem Endesatz");
            return;
        }
        const Result<DecodedRecord> record = decode_(line);
        if (!record) {
            RefuseLine(lineNumber_, record.Error().detail);
            return;
        }
        ended_ = record->ends;
        Store(record->address, record->data);
    }

    void Store(std::uint64_t address, std::span<const std::uint8_t> data) {
        if (chipFill_) {
            StoreInChip(address, data);
            return;
        }
        for (std::size_t i = 0; i < data.size() && address + i < kBinImageSize; ++i) {
            const auto at = static_cast<std::size_t>(address + i);
            if (covered_[at]) {
                message_ = "Zeile " + std::to_string(lineNumber_) + ": die Adresse " +
                           HexByteText(at) + " ist schon belegt" + std::string(kCoverageRule);
                return;
            }
            if (data[i] > 0x0F) {
                message_ = "Zeile " + std::to_string(lineNumber_) + ": an der Adresse " +
                           HexByteText(at) + " steht " + HexByteText(data[i]) +
                           ", kein Datennibble (0x00 bis 0x0F).";
                return;
            }
            covered_[at] = true;
            image_[at] = data[i];
        }
    }

    // Records anywhere in the chip, in any order; no byte is checked here, since only the 128 at
    // the offset must be nibbles.
    void StoreInChip(std::uint64_t address, std::span<const std::uint8_t> data) {
        if (data.empty()) {
            return;
        }
        const std::uint64_t end = address + data.size();
        if (end > kMaxChipSize) {
            message_ = "Zeile " + std::to_string(lineNumber_) + ": die Adresse " +
                       ChipAddressText(std::max<std::uint64_t>(address, kMaxChipSize)) +
                       " liegt hinter dem größten Chip von 1 MiB (bis " +
                       ChipAddressText(kMaxChipSize - 1) + ").";
            return;
        }
        if (end > image_.size()) {
            image_.resize(static_cast<std::size_t>(end), *chipFill_);
            covered_.resize(static_cast<std::size_t>(end), false);
        }
        for (std::size_t i = 0; i < data.size(); ++i) {
            const auto at = static_cast<std::size_t>(address + i);
            if (covered_[at]) {
                message_ = "Zeile " + std::to_string(lineNumber_) + ": die Adresse " +
                           ChipAddressText(at) + " ist schon belegt.";
                return;
            }
            covered_[at] = true;
            image_[at] = data[i];
        }
    }

    const ImageFormatEntry* format_ = nullptr;
    bool binary_ = false;
    RecordLineDecoder decode_;
    std::size_t seen_ = 0;        // bytes taken before the format was known
    std::size_t markLength_ = 0;  // bytes of the byte-order mark among them
    bool afterCarriageReturn_ = false;
    std::string pending_;
    std::size_t lineNumber_ = 0;
    bool ended_ = false;
    std::optional<std::uint8_t> chipFill_;  // a whole chip is read
    std::vector<std::uint8_t> image_ = std::vector<std::uint8_t>(chipFill_ ? 0 : kBinImageSize);
    std::vector<bool> covered_ = std::vector<bool>(image_.size());
    std::string message_;
};

// The first 128 bytes of path and never more, so that a huge file or a device costs no more.
Result<BinImage> ReadBinContent(const std::string& path, ReadableFiles kinds) {
    const Result<std::string> prefix = ReadFilePrefix(path, kBinImageSize, kinds);
    if (!prefix) {
        return prefix.Error();
    }
    return BinContent(
        std::span(reinterpret_cast<const std::uint8_t*>(prefix->data()), prefix->size()));
}

// Reads path into the reader as it comes, keeping its first headLimit bytes in head for a binary
// content, and stops once the reader is settled and head holds what a binary content needs.
Status FeedFile(const std::string& path, ReadableFiles kinds, RecordReader& reader,
                std::string& head, std::size_t headLimit) {
    return ReadFileChunks(
        path, std::numeric_limits<std::size_t>::max(), kinds, [&](std::string_view chunk) {
            if (head.size() < headLimit) {
                head.append(chunk.substr(0, headLimit - head.size()));
            }
            return reader.Feed(chunk) || (!reader.Records() && head.size() < headLimit);
        });
}

Result<std::vector<std::uint8_t>> ChipBinContent(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > kMaxChipSize) {
        return Failure(FailureKind::ChipImageRefused, 0,
                       "Das Abbild ist größer als der größte Chip von 1 MiB (1048576 Bytes).");
    }
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace

Result<BinImage> ReadImage(std::span<const std::uint8_t> bytes, ImageContent content) {
    if (content == ImageContent::AnyFormat) {
        RecordReader reader;
        reader.Feed(AsText(bytes));
        if (reader.Records()) {
            return reader.Finish();
        }
    }
    return BinContent(bytes);
}

Result<BinImage> ReadImageFile(const std::string& path, ReadableFiles kinds, ImageContent content) {
    if (content == ImageContent::BinOnly) {
        return ReadBinContent(path, kinds);
    }
    std::string head;
    RecordReader reader;
    if (const Status read = FeedFile(path, kinds, reader, head, kBinImageSize); !read) {
        return read.Error();
    }
    if (reader.Records()) {
        return reader.Finish();
    }
    return BinContent(std::span(reinterpret_cast<const std::uint8_t*>(head.data()), head.size()));
}

Result<std::vector<std::uint8_t>> ReadChipImage(std::span<const std::uint8_t> bytes,
                                                std::uint8_t fill) {
    RecordReader reader(fill);
    reader.Feed(AsText(bytes));
    if (reader.Records()) {
        return reader.FinishBytes();
    }
    return ChipBinContent(bytes);
}

Result<std::vector<std::uint8_t>> ReadChipImageFile(const std::string& path, ReadableFiles kinds,
                                                    std::uint8_t fill) {
    std::string head;
    RecordReader reader(fill);
    if (const Status read = FeedFile(path, kinds, reader, head, kMaxChipSize + 1); !read) {
        return read.Error();
    }
    if (reader.Records()) {
        return reader.FinishBytes();
    }
    return ChipBinContent(
        std::span(reinterpret_cast<const std::uint8_t*>(head.data()), head.size()));
}

ImageFormat DetectImageFormat(std::span<const std::uint8_t> bytes) {
    RecordReader reader;
    for (std::size_t at = 0; at < bytes.size() && !reader.Decided(); ++at) {
        reader.Feed(AsText(bytes.subspan(at, 1)));
    }
    return reader.Records() ? reader.Records()->format : ImageFormat::Bin;
}

}  // namespace vx40
