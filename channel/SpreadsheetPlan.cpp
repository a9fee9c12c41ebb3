// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/SpreadsheetPlan.h"

#include <limits>
#include <vector>

#include "channel/CellText.h"
#include "channel/FrequencyPlan.h"
#include "text/CharacterRules.h"
#include "text/IntegerConversion.h"
#include "text/SeparatedFields.h"
#include "text/ShownText.h"

namespace vx40 {
namespace {

constexpr std::string_view kNameBlanks = " \t";

// What a header field names.
enum class ColumnKind { Other, Frequency, Channel };

struct HeaderField {
    ColumnKind kind = ColumnKind::Other;
    std::optional<int> exponent;  // of a frequency column; none: a unit that is none
};

HeaderField ReadHeaderField(std::string_view name) {
    const std::string lowered = AsciiLowered(Trimmed(name, kNameBlanks));
    if (lowered == "kanal" || lowered == "channel") {
        return {ColumnKind::Channel, std::nullopt};
    }
    std::string_view rest = lowered;
    if (rest.starts_with("frequency")) {
        rest.remove_prefix(9);
    } else if (rest.starts_with("frequenz")) {
        rest.remove_prefix(8);
    } else {
        return {};
    }
    if (rest.empty()) {
        return {ColumnKind::Frequency, 0};
    }
    // "Frequenzband" is another column; "Frequenz (MW)" is the frequency with a wrong unit.
    if (std::string_view(" \t([/").find(rest.front()) == std::string_view::npos) {
        return {};
    }
    rest = Trimmed(rest, kNameBlanks);
    if (rest.starts_with("/")) {
        rest = Trimmed(rest.substr(1), kNameBlanks);
    } else if (rest.starts_with("in ")) {
        rest = Trimmed(rest.substr(3), kNameBlanks);
    }
    if (rest.size() >= 2 && ((rest.front() == '(' && rest.back() == ')') ||
                             (rest.front() == '[' && rest.back() == ']'))) {
        rest = Trimmed(rest.substr(1, rest.size() - 2), kNameBlanks);
    }
    return {ColumnKind::Frequency, FrequencyUnitExponent(rest)};
}

std::string Quoted(std::string_view text) {
    return "\"" + ShownText(text, kShownLineCharacters) + "\"";
}

std::string FieldCountText(std::size_t count) {
    return count == 1 ? "1 Feld" : DecimalText(static_cast<std::int64_t>(count)) + " Felder";
}

Failure Refusal(int lineNumber, std::string message) {
    return Failure(FailureKind::InputRefused, 0, std::move(message),
                   static_cast<std::size_t>(lineNumber));
}

std::string TooLongText() {
    return "länger als " + DecimalText(static_cast<std::int64_t>(kKeptRowBytes)) +
           " Bytes bis zur letzten gelesenen Spalte";
}

}  // namespace

std::optional<int> FrequencyUnitExponent(std::string_view unit) {
    const std::string lowered = AsciiLowered(unit);
    if (lowered == "hz") {
        return -3;
    }
    if (lowered == "khz") {
        return 0;
    }
    if (lowered == "mhz") {
        return 3;
    }
    if (lowered == "ghz") {
        return 6;
    }
    return std::nullopt;
}

TableFrequency ReadTableFrequency(std::string_view text, int columnExponent) {
    text = Trimmed(text, kNameBlanks);
    std::string digits;
    int fractionDigits = 0;
    bool decimalMark = false;
    std::size_t at = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c >= '0' && c <= '9') {
            digits += c;
            fractionDigits += decimalMark ? 1 : 0;
        } else if ((c == ',' || c == '.') && !decimalMark) {
            decimalMark = true;
        } else {
            break;
        }
    }
    const std::string_view unit = Trimmed(text.substr(at), kNameBlanks);
    const std::optional<int> exponent =
        unit.empty() ? std::optional<int>(columnExponent) : FrequencyUnitExponent(unit);
    if (digits.empty() || !exponent) {
        return {};
    }
    // The value in kHz is digits * 10^shift.
    const int shift = *exponent - fractionDigits;
    if (shift < 0) {
        const std::size_t dropped = std::min(digits.size(), static_cast<std::size_t>(-shift));
        if (digits.find_first_not_of('0', digits.size() - dropped) != std::string::npos) {
            return {FrequencyReading::NotWholeKhz, 0};
        }
        digits.resize(digits.size() - dropped);
    } else {
        digits.append(static_cast<std::size_t>(shift), '0');
    }
    const auto first = digits.find_first_not_of('0');
    digits.erase(0, first == std::string::npos ? digits.size() : first);
    constexpr std::size_t kMaxDigits = 10;  // 2147483647
    std::int64_t khz = 0;
    for (const char c : digits.size() <= kMaxDigits ? digits : std::string()) {
        khz = khz * 10 + (c - '0');
    }
    if (digits.size() > kMaxDigits || khz > std::numeric_limits<std::int32_t>::max()) {
        return {FrequencyReading::OutOfRange, 0};
    }
    return {FrequencyReading::Read, static_cast<std::int32_t>(khz)};
}

bool SpreadsheetPlan::IsHeader(std::string_view line) {
    for (const SeparatedField& field : SplitFields(line, DetectSeparator(line))) {
        if (ReadHeaderField(field.text).kind != ColumnKind::Other) {
            return true;
        }
    }
    return false;
}

std::string SpreadsheetPlan::Where(int lineNumber, const std::optional<Column>& column) const {
    std::string where = "Zeile " + DecimalText(lineNumber);
    if (column) {
        where += ", Spalte " + Quoted(column->name);
    }
    return where + ": ";
}

Status SpreadsheetPlan::ReadHeader(int lineNumber, std::string_view header, bool cut) {
    Status read = ReadColumns(lineNumber, header, cut);
    if (!read) {
        // A refused header refuses the plan; its rows have nothing to be read by.
        frequency_.reset();
        channel_.reset();
    }
    return read;
}

Status SpreadsheetPlan::ReadColumns(int lineNumber, std::string_view header, bool cut) {
    if (cut) {
        return Refusal(lineNumber, Where(lineNumber, std::nullopt) + TooLongText());
    }
    separator_ = DetectSeparator(header);
    const std::vector<SeparatedField> fields = SplitFields(header, separator_);
    headerFields_ = fields.size();
    for (std::size_t index = 0; index < fields.size(); ++index) {
        const HeaderField field = ReadHeaderField(fields[index].text);
        if (field.kind == ColumnKind::Other) {
            continue;
        }
        const Column column{index, fields[index].text, field.exponent.value_or(0)};
        std::optional<Column>& slot = field.kind == ColumnKind::Frequency ? frequency_ : channel_;
        const std::string_view names =
            field.kind == ColumnKind::Frequency ? "Frequenz/Frequency" : "Kanal/Channel";
        if (slot) {
            return Refusal(lineNumber, Where(lineNumber, column) + "zweite Spalte " +
                                           std::string(names) + " in der Kopfzeile");
        }
        if (!field.exponent && field.kind == ColumnKind::Frequency) {
            return Refusal(lineNumber, Where(lineNumber, column) +
                                           "unbekannte Einheit; möglich sind Hz, kHz, MHz und GHz");
        }
        slot = column;
    }
    if (!frequency_) {
        return Refusal(lineNumber, Where(lineNumber, std::nullopt) +
                                       "keine Spalte Frequenz/Frequency in der Kopfzeile");
    }
    return {};
}

Status SpreadsheetPlan::CheckRowFields(int lineNumber, const std::vector<SeparatedField>& fields,
                                       bool cut) const {
    // Of a cut row the last field found may go on beyond the kept bytes.
    const std::size_t whole = cut ? fields.size() - 1 : fields.size();
    const std::size_t needed =
        std::max(frequency_->index, channel_ ? channel_->index : std::size_t{0});
    if (cut && needed >= whole) {
        return Refusal(lineNumber, Where(lineNumber, std::nullopt) + TooLongText());
    }
    // A filled field beyond the header's means the columns have moved, as an unquoted decimal
    // comma moves them in a table separated by commas: "1,145,125" would be 145 MHz.
    for (std::size_t index = headerFields_; index < whole; ++index) {
        if (!fields[index].text.empty()) {
            return Refusal(lineNumber, Where(lineNumber, std::nullopt) + "Feld " +
                                           DecimalText(static_cast<std::int64_t>(index + 1)) +
                                           " ist gefüllt, die Kopfzeile hat nur " +
                                           FieldCountText(headerFields_));
        }
    }
    for (const std::optional<Column>& column : {frequency_, channel_}) {
        if (column && column->index >= fields.size()) {
            return Refusal(lineNumber, Where(lineNumber, column) + "fehlt, die Zeile hat nur " +
                                           FieldCountText(fields.size()));
        }
    }
    return {};
}

Result<int> SpreadsheetPlan::RowChannel(int lineNumber, std::string_view channelText) {
    if (!channel_) {
        const int channel = ++rows_;
        if (channel > kChannelCount) {
            return Refusal(lineNumber, Where(lineNumber, std::nullopt) + TooManyChannelsText());
        }
        return channel;
    }
    const std::optional<std::int32_t> named = ParseDecimalInt32(channelText);
    if (!named || *named < 1 || *named > kChannelCount) {
        return Refusal(lineNumber, Where(lineNumber, channel_) + Quoted(channelText) +
                                       " ist kein Kanal von 1 bis " + DecimalText(kChannelCount));
    }
    const int channel = *named;
    if (const int earlier = channelLines_[static_cast<std::size_t>(channel)]; earlier != 0) {
        return Refusal(lineNumber, Where(lineNumber, channel_) + "Kanal " + DecimalText(channel) +
                                       " steht schon in Zeile " + DecimalText(earlier));
    }
    channelLines_[static_cast<std::size_t>(channel)] = lineNumber;
    return channel;
}

Result<std::optional<PlannedChannel>> SpreadsheetPlan::ReadRow(int lineNumber, std::string_view row,
                                                               bool cut) {
    if (!frequency_) {
        return std::optional<PlannedChannel>();
    }
    const std::vector<SeparatedField> fields = SplitFields(row, separator_);
    bool empty = true;
    for (const SeparatedField& field : fields) {
        empty = empty && field.text.empty();
    }
    if (empty) {
        return std::optional<PlannedChannel>();
    }
    if (const Status shape = CheckRowFields(lineNumber, fields, cut); !shape) {
        return shape.Error();
    }
    const std::string& frequencyText = fields[frequency_->index].text;
    const std::string_view channelText =
        channel_ ? std::string_view(fields[channel_->index].text) : std::string_view();
    if (channel_ && channelText.empty() && frequencyText.empty()) {
        return std::optional<PlannedChannel>();
    }
    const Result<int> channel = RowChannel(lineNumber, channelText);
    if (!channel) {
        return channel.Error();
    }
    if (frequencyText.empty()) {
        return std::optional<PlannedChannel>();
    }
    return RowFrequency(lineNumber, *channel, frequencyText);
}

Result<std::optional<PlannedChannel>> SpreadsheetPlan::RowFrequency(
    int lineNumber, int channel, const std::string& frequencyText) const {
    const TableFrequency frequency = ReadTableFrequency(frequencyText, frequency_->exponent);
    const std::string where = Where(lineNumber, frequency_);
    switch (frequency.reading) {
        case FrequencyReading::Read:
            return std::optional<PlannedChannel>(PlannedChannel{channel, frequency.khz, where});
        case FrequencyReading::NotWholeKhz:
            return Refusal(lineNumber,
                           where + Quoted(frequencyText) + " ist keine Frequenz in ganzen kHz");
        case FrequencyReading::OutOfRange:
            return Refusal(lineNumber,
                           where + Quoted(frequencyText) + " liegt über 2147483647 kHz");
        case FrequencyReading::NoFrequency:
            break;
    }
    return Refusal(lineNumber, where + Quoted(frequencyText) + " ist keine Frequenz");
}

}  // namespace vx40
