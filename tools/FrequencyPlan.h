#pragma once

#include <cstdint>
#include <optional>
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

// A line as a message shows it: at most its first 60 characters, then "…"; control characters
// and bytes that are no UTF-8 as "\x1b", so that no line can drive the terminal.
std::string ShownPlanLine(std::string_view line);

}  // namespace vx40::tool
