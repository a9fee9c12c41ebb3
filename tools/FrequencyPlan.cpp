// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FrequencyPlan.h"

#include <algorithm>

#include "channel/CellText.h"
#include "channel/ChannelConstants.h"
#include "text/CharacterRules.h"
#include "text/ShownText.h"
#include "tools/FrequencyText.h"
#include "tools/InputFile.h"

namespace vx40::tool {

void PlanLineReader::Feed(std::string_view bytes, const LineHandler& onLine) {
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        Append(bytes.substr(0, end));
        if (end == std::string_view::npos) {
            return;
        }
        EndLine(onLine);
        bytes.remove_prefix(end + 1);
    }
}

void PlanLineReader::Finish(const LineHandler& onLine) {
    if (lineOpen_) {
        EndLine(onLine);
    }
}

void PlanLineReader::Append(std::string_view bytes) {
    if (bytes.empty()) {
        return;
    }
    lineOpen_ = true;
    if (kept_.empty()) {
        const auto first = bytes.find_first_not_of(kLineBlanks);
        if (first == std::string_view::npos) {
            return;
        }
        bytes.remove_prefix(first);
    }
    const std::size_t room = kKeptLineBytes - kept_.size();
    kept_.append(bytes.substr(0, room));
    if (bytes.size() > room &&
        bytes.substr(room).find_first_not_of(kLineBlanks) != std::string_view::npos) {
        cut_ = true;
    }
}

void PlanLineReader::EndLine(const LineHandler& onLine) {
    ++lineNumber_;
    // A cut line is longer than any number, and what a message shows of it is all kept.
    const std::string_view line = cut_ ? std::string_view(kept_) : Trimmed(kept_, kLineBlanks);
    if (!line.empty() && line.front() != '#') {
        onLine({lineNumber_, std::string(line), cut_ ? std::nullopt : ParseDecimalInt32(line)});
    }
    kept_.clear();
    cut_ = false;
    lineOpen_ = false;
}

std::string ShownPlanLine(std::string_view line) {
    return ShownText(line, kShownLineCharacters);
}

std::string PlanLinePrefix(const PlanLine& line) {
    return "Zeile " + DecimalText(line.lineNumber) + ": ";
}

Status PlanLineProblem(const PlanLine& line, int channel) {
    std::string problem;
    if (channel > kChannelCount) {
        problem = "mehr als " + DecimalText(kChannelCount) + " Kanäle";
    } else if (!line.frequencyKhz) {
        problem = "\"" + ShownPlanLine(line.text) + "\" ist keine Frequenz in kHz";
    } else {
        return {};
    }
    return Failure(FailureKind::InputRefused, 0, PlanLinePrefix(line) + problem,
                   static_cast<std::size_t>(line.lineNumber));
}

void OffendingLines::Add(std::string message) {
    if (shown_.size() < kShownOffendingLines) {
        shown_.push_back(std::move(message));
    } else {
        ++unshown_;
    }
}

std::string OffendingLines::Text() const {
    std::string text;
    for (const auto& message : shown_) {
        text += message + '\n';
    }
    if (unshown_ > 0) {
        text +=
            "… und " + DecimalText(static_cast<std::int64_t>(unshown_)) +
            (unshown_ == 1 ? " weitere beanstandete Zeile\n" : " weitere beanstandete Zeilen\n");
    }
    return text;
}

void OffendingLines::Print(std::ostream& err) const {
    err << Text();
}

Status ReadPlanInput(const std::string& path, const PlanLineReader::LineHandler& onLine) {
    PlanLineReader reader;
    const Status read =
        ReadInputChunks(path, [&](std::string_view chunk) { reader.Feed(chunk, onLine); });
    if (read) {
        reader.Finish(onLine);
    }
    return read;
}

namespace {

// The handler that puts each channel line of a plan into plan: its frequency, or its message.
PlanLineReader::LineHandler CollectFrequencies(PlanFrequencies& plan) {
    return [&plan, channel = 0](const PlanLine& line) mutable {
        if (const Status problem = PlanLineProblem(line, ++channel); !problem) {
            plan.offending.Add(problem.Error().detail);
        } else {
            plan.frequenciesKhz.push_back(*line.frequencyKhz);
        }
    };
}

}  // namespace

PlanFrequencies ReadPlanFrequencies(std::string_view text) {
    PlanFrequencies plan;
    const PlanLineReader::LineHandler collect = CollectFrequencies(plan);
    PlanLineReader reader;
    reader.Feed(text, collect);
    reader.Finish(collect);
    return plan;
}

Result<PlanFrequencies> ReadPlanFrequencies(const std::string& path) {
    PlanFrequencies plan;
    if (const Status read = ReadPlanInput(path, CollectFrequencies(plan)); !read) {
        return read.Error();
    }
    return plan;
}

}  // namespace vx40::tool
