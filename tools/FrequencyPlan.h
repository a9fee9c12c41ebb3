// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vx40::tool {

// One line of a plan that names a channel: not blank and not a comment.
struct PlanLine {
    int lineNumber = 0;                        // counted from 1 over all lines of the file
    std::string text;                          // without the blanks around it
    std::optional<std::int32_t> frequencyKhz;  // empty: the line is no frequency
};

// The channel lines of a plan text, in order: one frequency in kHz per line for channels 1, 2,
// ...; blank lines and lines starting with "#" are left out. Lines may end in LF or CR LF.
std::vector<PlanLine> ParsePlanText(std::string_view text);

// "Zeile 3: ", the start of every message about a line.
std::string PlanLinePrefix(const PlanLine& line);

// Why the line cannot be channel `channel`: a channel beyond 16, or no frequency; none when it
// can.
std::optional<std::string> PlanLineProblem(const PlanLine& line, int channel);

// A line as a message shows it: at most its first 60 characters, then "…", escaped as ShownText
// escapes it, so that no line can drive the terminal.
std::string ShownPlanLine(std::string_view line);

// The messages of a plan's offending lines. A plan may be any file: a terminal gets the first 20
// and one line that counts the others, and only those 20 are kept.
class OffendingLines {
  public:
    void Add(std::string message);
    bool Empty() const { return shown_.empty(); }
    void Print(std::ostream& err) const;

  private:
    static constexpr std::size_t kShownOffendingLines = 20;
    std::vector<std::string> shown_;
    std::size_t unshown_ = 0;
};

// The frequencies of a plan's channels, or the messages of its offending lines.
struct PlanFrequencies {
    std::vector<std::int32_t> frequenciesKhz;
    OffendingLines offending;
};
PlanFrequencies ReadPlanFrequencies(std::string_view text);

}  // namespace vx40::tool
