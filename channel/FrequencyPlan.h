// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Result.h"
#include "channel/SpreadsheetPlan.h"
#include "text/CharacterRules.h"
#include "text/LineSplitter.h"

namespace vx40 {

// One line of a plan that names a channel: not blank and not a comment.
struct PlanLine {
    int lineNumber = 0;                        // counted from 1 over all lines of the file
    std::string text;                          // without the blanks around it
    std::optional<std::int32_t> frequencyKhz;  // empty: the line is no frequency
};

// How many characters of a line a message shows.
inline constexpr std::size_t kShownLineCharacters = 60;

// The channel lines of a plan of lines, in order, as its bytes arrive: one frequency in kHz per
// line for channels 1, 2, ...; blank lines and lines starting with "#" are
// left out. Lines may end in LF or CR LF. A plan may be any file, so of a long line only the start
// that a message shows is kept: a plan of any size costs the same small memory.
class PlanLineReader {
  public:
    using LineHandler = std::function<void(const PlanLine&)>;

    // Hands each channel line that the bytes complete to onLine.
    void Feed(std::string_view bytes, const LineHandler& onLine);
    // The last line, when the text does not end in a line break.
    void Finish(const LineHandler& onLine);

  private:
    // Every character takes at most four bytes, so the kept start holds one character more than
    // a message shows, and a cut line is shown cut.
    static constexpr std::size_t kKeptLineBytes = 4 * (kShownLineCharacters + 1);

    void EndLine(int lineNumber, std::string_view kept, bool cut, const LineHandler& onLine);

    LineSplitter lines_{kKeptLineBytes, kLineBlanks};
};

// "mehr als 16 Kanäle": a plan names more channels than the memory holds.
std::string TooManyChannelsText();

// "Zeile 3: ", the start of every message about a line.
std::string PlanLinePrefix(const PlanLine& line);

// Whether the line can be channel `channel`: InputRefused with the message for a channel beyond 16
// or a line that is no frequency.
Status PlanLineProblem(const PlanLine& line, int channel);

// A line as a message shows it: at most its first 60 characters, then "…", escaped as ShownText
// escapes it, so that no line can drive the terminal.
std::string ShownPlanLine(std::string_view line);

// The messages of a plan's offending lines. A plan may be any file: a terminal gets the first 20
// and one line that counts the others, and only those 20 are kept.
class OffendingLines {
  public:
    void Add(std::string message);
    bool Empty() const { return shown_.empty(); }
    // The shown messages, a line each, and the line that counts the others.
    std::string Text() const;

  private:
    static constexpr std::size_t kShownOffendingLines = 20;
    std::vector<std::string> shown_;
    std::size_t unshown_ = 0;
};

// A plan in either of its two ways of writing, read as its bytes arrive. The first line that is
// neither blank nor a comment decides: a table's header (SpreadsheetPlan::IsHeader) starts a
// table, anything else is one frequency in kHz per line (PlanLineReader). Lines of a table are
// read as UTF-8 where they are, otherwise as Windows-1252; a byte-order mark before the header is
// dropped. Each channel goes to onChannel, each refusal to offending.
class PlanReader {
  public:
    using ChannelHandler = std::function<void(const PlannedChannel&)>;

    PlanReader(ChannelHandler onChannel, OffendingLines& offending)
        : onChannel_(std::move(onChannel)), offending_(offending) {}

    void Feed(std::string_view bytes);
    void Finish();

  private:
    enum class Format { Undecided, Lines, Table };

    void OnTableLine(int lineNumber, std::string_view kept, bool cut);
    void OnPlanLine(const PlanLine& line);
    void Take(const Status& status);

    ChannelHandler onChannel_;
    OffendingLines& offending_;
    Format format_ = Format::Undecided;
    // Until the format is decided both readers see every byte, the table's first; it decides at
    // the end of the first line that counts, before the line reader hands that line over.
    LineSplitter tableLines_{kKeptRowBytes, kLineBlanks};
    PlanLineReader planLines_;
    SpreadsheetPlan table_;
    int lineChannels_ = 0;  // channels of the one-frequency-per-line format so far
    std::optional<PlanLine> pendingLine_;
};

// The frequencies of a plan's channels, at most 16, or the messages of its offending lines.
struct PlanFrequencies {
    std::vector<std::int32_t> frequenciesKhz;  // of the channels that are not empty, in order
    OffendingLines offending;
};
PlanFrequencies ReadPlanFrequencies(std::string_view text);
// The same of a plan whose bytes feed hands to the reader (without finishing it).
PlanFrequencies CollectPlanFrequencies(const std::function<void(PlanReader&)>& feed);

}  // namespace vx40
