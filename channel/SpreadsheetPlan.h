// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "channel/ChannelConstants.h"
#include "text/SeparatedFields.h"

namespace vx40 {

// One channel of a plan, whichever way the plan is written.
struct PlannedChannel {
    int channel = 0;  // 1 to 16
    std::int32_t frequencyKhz = 0;
    std::string where;  // the start of a message about it: "Zeile 4: " or with the column
};

// A value of a frequency column, read exactly.
enum class FrequencyReading { Read, NoFrequency, NotWholeKhz, OutOfRange };
struct TableFrequency {
    FrequencyReading reading = FrequencyReading::NoFrequency;
    std::int32_t khz = 0;
};

// The power of ten from a unit to kHz: Hz -3, kHz 0, MHz 3, GHz 6, in any letter case.
std::optional<int> FrequencyUnitExponent(std::string_view unit);

// A frequency as a spreadsheet writes it: digits with at most one decimal comma or point, then
// optionally blanks and its unit, which stands before the column's (columnExponent). Only whole
// kHz from 0 to 2147483647 are frequencies of a plan; the arithmetic is exact.
TableFrequency ReadTableFrequency(std::string_view text, int columnExponent);

// A plan written as a table that a spreadsheet exports: a header row, then one row per channel.
// The header names the frequency column ("Frequenz" or "Frequency", any case, with its unit as in
// "Frequenz (MHz)", "Frequenz [kHz]", "Frequenz/GHz"; none is kHz) and may name a channel column
// ("Kanal" or "Channel"); other columns are left alone. The separator is what the header uses most
// of ";", tab and ",". Without a channel column the rows are channels 1, 2, ... in order. Rows
// come one by one, so that a plan of any size is read in small memory. A row may leave fields
// out at its end, but fill none beyond the header's; refusals are InputRefused
// failures whose detail is the German message naming the line and the column.
class SpreadsheetPlan {
  public:
    // Whether the first line of a plan is a table's header: a field of it names a frequency or
    // a channel column.
    static bool IsHeader(std::string_view line);

    // The header row (UTF-8, without its byte-order mark); cut: the line went on beyond it.
    Status ReadHeader(int lineNumber, std::string_view header, bool cut);

    // One row after the header: its channel and frequency, or nothing for a row that leaves a
    // channel empty (every field empty, or an empty frequency field: its channel stays empty).
    Result<std::optional<PlannedChannel>> ReadRow(int lineNumber, std::string_view row, bool cut);

  private:
    struct Column {
        std::size_t index = 0;
        std::string name;  // as the header writes it
        int exponent = 0;
    };

    Status ReadColumns(int lineNumber, std::string_view header, bool cut);
    // Whether a row's fields can be read by the header's columns: not cut before them, nothing
    // beyond the header's fields, both columns present.
    Status CheckRowFields(int lineNumber, const std::vector<SeparatedField>& fields,
                          bool cut) const;
    // The channel of a row: the channel column's, or the next in order without one.
    Result<int> RowChannel(int lineNumber, std::string_view channelText);
    Result<std::optional<PlannedChannel>> RowFrequency(int lineNumber, int channel,
                                                       const std::string& frequencyText) const;
    std::string Where(int lineNumber, const std::optional<Column>& column) const;

    char separator_ = 0;
    std::size_t headerFields_ = 0;
    std::optional<Column> frequency_;
    std::optional<Column> channel_;
    std::array<int, kChannelCount + 1> channelLines_{};  // the line that named each channel
    int rows_ = 0;                                       // rows counted as channels so far
};

// How many bytes of a table's row are kept: a row's fields up to the last one the plan reads must
// lie within them.
inline constexpr std::size_t kKeptRowBytes = 65536;

}  // namespace vx40
