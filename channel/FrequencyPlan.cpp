// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/FrequencyPlan.h"

#include <algorithm>
#include <array>

#include "channel/CellText.h"
#include "channel/ChannelConstants.h"
#include "text/CharacterRules.h"
#include "text/IntegerConversion.h"
#include "text/ShownText.h"
#include "text/Utf8Text.h"

namespace vx40 {

void PlanLineReader::Feed(std::string_view bytes, const LineHandler& onLine) {
    lines_.Feed(bytes, [&](int lineNumber, std::string_view kept, bool cut) {
        EndLine(lineNumber, kept, cut, onLine);
    });
}

void PlanLineReader::Finish(const LineHandler& onLine) {
    lines_.Finish([&](int lineNumber, std::string_view kept, bool cut) {
        EndLine(lineNumber, kept, cut, onLine);
    });
}

void PlanLineReader::EndLine(int lineNumber, std::string_view kept, bool cut,
                             const LineHandler& onLine) {
    // A cut line is longer than any number, and what a message shows of it is all kept.
    const std::string_view line = cut ? kept : Trimmed(kept, kLineBlanks);
    if (!line.empty() && line.front() != '#') {
        onLine({lineNumber, std::string(line), cut ? std::nullopt : ParseDecimalInt32(line)});
    }
}

std::string ShownPlanLine(std::string_view line) {
    return ShownText(line, kShownLineCharacters);
}

std::string TooManyChannelsText() {
    return "mehr als " + DecimalText(kChannelCount) + " Kanäle";
}

std::string PlanLinePrefix(const PlanLine& line) {
    return "Zeile " + DecimalText(line.lineNumber) + ": ";
}

Status PlanLineProblem(const PlanLine& line, int channel) {
    std::string problem;
    if (channel > kChannelCount) {
        problem = TooManyChannelsText();
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

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

void PlanReader::Feed(std::string_view bytes) {
    if (format_ != Format::Lines) {
        tableLines_.Feed(bytes, [this](int lineNumber, std::string_view kept, bool cut) {
            OnTableLine(lineNumber, kept, cut);
        });
    }
    if (format_ != Format::Table) {
        planLines_.Feed(bytes, [this](const PlanLine& line) { OnPlanLine(line); });
    }
}

void PlanReader::Finish() {
    if (format_ != Format::Lines) {
        tableLines_.Finish([this](int lineNumber, std::string_view kept, bool cut) {
            OnTableLine(lineNumber, kept, cut);
        });
    }
    if (format_ != Format::Table) {
        planLines_.Finish([this](const PlanLine& line) { OnPlanLine(line); });
    }
    if (format_ == Format::Undecided && pendingLine_) {
        format_ = Format::Lines;
        PlanLine pending = std::move(*pendingLine_);
        pendingLine_.reset();
        OnPlanLine(pending);
    }
}

void PlanReader::OnTableLine(int lineNumber, std::string_view kept, bool cut) {
    if (format_ == Format::Lines) {
        return;
    }
    if (lineNumber == 1 && kept.starts_with(kByteOrderMark)) {
        kept.remove_prefix(kByteOrderMark.size());
    }
    const std::string line = LineAsUtf8(cut ? kept : Trimmed(kept, kLineBlanks), cut);
    if (format_ == Format::Undecided) {
        if (line.empty() || line.front() == '#') {
            return;
        }
        if (!SpreadsheetPlan::IsHeader(line)) {
            format_ = Format::Lines;
            return;
        }
        format_ = Format::Table;
        Take(table_.ReadHeader(lineNumber, line, cut));
        return;
    }
    const Result<std::optional<PlannedChannel>> row = table_.ReadRow(lineNumber, line, cut);
    if (!row) {
        Take(row.Error());
    } else if (*row) {
        onChannel_(**row);
    }
}

void PlanReader::OnPlanLine(const PlanLine& line) {
    // Only a first line of a byte-order mark and a comment or nothing comes before the decision:
    // the table's reader drops the mark, the line reader keeps it, as it always has.
    if (format_ == Format::Undecided) {
        pendingLine_ = line;
        return;
    }
    if (format_ == Format::Table) {
        return;
    }
    if (pendingLine_) {
        PlanLine pending = std::move(*pendingLine_);
        pendingLine_.reset();
        OnPlanLine(pending);
    }
    if (const Status problem = PlanLineProblem(line, ++lineChannels_); !problem) {
        Take(problem);
    } else {
        onChannel_({lineChannels_, *line.frequencyKhz, PlanLinePrefix(line)});
    }
}

void PlanReader::Take(const Status& status) {
    if (!status) {
        offending_.Add(status.Error().detail);
    }
}

PlanFrequencies CollectPlanFrequencies(const std::function<void(PlanReader&)>& feed) {
    PlanFrequencies plan;
    std::array<std::optional<std::int32_t>, kChannelCount + 1> channels;
    PlanReader reader(
        [&](const PlannedChannel& planned) {
            channels[static_cast<std::size_t>(planned.channel)] = planned.frequencyKhz;
        },
        plan.offending);
    feed(reader);
    reader.Finish();
    for (const auto& khz : channels) {
        if (khz) {
            plan.frequenciesKhz.push_back(*khz);
        }
    }
    return plan;
}

PlanFrequencies ReadPlanFrequencies(std::string_view text) {
    return CollectPlanFrequencies([&](PlanReader& reader) { reader.Feed(text); });
}

}  // namespace vx40
