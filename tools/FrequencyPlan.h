// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace vx40::tool {

// One line of a plan that names a channel: not blank and not a comment.
struct PlanLine {
    int lineNumber = 0;                        // counted from 1 over all lines of the file
    std::string text;                          // without the blanks around it
    std::optional<std::int32_t> frequencyKhz;  // empty: the line is no frequency
};

// How many characters of a line a message shows.
inline constexpr std::size_t kShownLineCharacters = 60;

// The channel lines of a plan text, in order, as its bytes arrive: one frequency in kHz per line
// for channels 1, 2, ...; blank lines and lines starting with "#" are left out. Lines may end in
// LF or CR LF. A plan may be any file, so of a long line only the start that a message shows is
// kept: a plan of any size costs the same small memory.
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

    void Append(std::string_view bytes);
    void EndLine(const LineHandler& onLine);

    int lineNumber_ = 0;
    std::string kept_;       // the line from its first byte that is no blank, at most its start
    bool cut_ = false;       // the line goes on beyond kept_ with more than blanks
    bool lineOpen_ = false;  // bytes of a line that has not ended yet have come
};

// Every channel line of the plan file at path ("-": standard input), read as a stream; the
// unreadable input for a plan that cannot be read.
Status ReadPlanInput(const std::string& path, const PlanLineReader::LineHandler& onLine);

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
    std::string Text() const;
    void Print(std::ostream& err) const;

  private:
    static constexpr std::size_t kShownOffendingLines = 20;
    std::vector<std::string> shown_;
    std::size_t unshown_ = 0;
};

// The frequencies of a plan's channels, at most 16, or the messages of its offending lines.
struct PlanFrequencies {
    std::vector<std::int32_t> frequenciesKhz;
    OffendingLines offending;
};
PlanFrequencies ReadPlanFrequencies(std::string_view text);
// The same of the plan file at path ("-": standard input), read as a stream.
Result<PlanFrequencies> ReadPlanFrequencies(const std::string& path);

}  // namespace vx40::tool
