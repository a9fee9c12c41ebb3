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

// The frequencies of a plan's channels, or the messages of its offending lines.
struct PlanFrequencies {
    std::vector<std::int32_t> frequenciesKhz;
    std::vector<std::string> offending;
};
PlanFrequencies ReadPlanFrequencies(std::string_view text);

// The messages of a plan's offending lines, one per line.
void PrintOffendingLines(std::ostream& err, const std::vector<std::string>& offending);

}  // namespace vx40::tool
