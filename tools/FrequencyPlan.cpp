// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FrequencyPlan.h"

#include <algorithm>

#include "channel/CellText.h"
#include "channel/ChannelConstants.h"
#include "platform/ShownText.h"
#include "tools/FrequencyText.h"

namespace vx40::tool {
namespace {

constexpr std::string_view kBlanks = " \t\r\f\v";
constexpr std::size_t kShownLineCharacters = 60;

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::vector<PlanLine> ParsePlanText(std::string_view text) {
    std::vector<PlanLine> lines;
    int lineNumber = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        lines.push_back({lineNumber, std::string(line), ParseDecimalInt32(line)});
    }
    return lines;
}

std::string ShownPlanLine(std::string_view line) {
    return ShownText(line, kShownLineCharacters);
}

std::string PlanLinePrefix(const PlanLine& line) {
    return "Zeile " + DecimalText(line.lineNumber) + ": ";
}

std::optional<std::string> PlanLineProblem(const PlanLine& line, int channel) {
    if (channel > kChannelCount) {
        return PlanLinePrefix(line) + "mehr als " + DecimalText(kChannelCount) + " Kanäle";
    }
    if (!line.frequencyKhz) {
        return PlanLinePrefix(line) + "\"" + ShownPlanLine(line.text) +
               "\" ist keine Frequenz in kHz";
    }
    return std::nullopt;
}

void OffendingLines::Add(std::string message) {
    if (shown_.size() < kShownOffendingLines) {
        shown_.push_back(std::move(message));
    } else {
        ++unshown_;
    }
}

void OffendingLines::Print(std::ostream& err) const {
    for (const auto& message : shown_) {
        err << message << '\n';
    }
    if (unshown_ > 0) {
        err << "… und " << unshown_
            << (unshown_ == 1 ? " weitere beanstandete Zeile\n" : " weitere beanstandete Zeilen\n");
    }
}

PlanFrequencies ReadPlanFrequencies(std::string_view text) {
    PlanFrequencies plan;
    int channel = 0;
    for (const PlanLine& line : ParsePlanText(text)) {
        if (auto problem = PlanLineProblem(line, ++channel)) {
            plan.offending.Add(std::move(*problem));
        } else {
            plan.frequenciesKhz.push_back(*line.frequencyKhz);
        }
    }
    return plan;
}

}  // namespace vx40::tool
