// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FrequencyPlan.h"

#include <algorithm>

#include "channel/CellText.h"
#include "channel/ChannelConstants.h"
#include "tools/FrequencyText.h"
#include "tools/InputFile.h"

namespace vx40::tool {
namespace {

constexpr std::string_view kBlanks = " \t\r\f\v";

// The length of the UTF-8 sequence at the start of text, 0 when it is none.
std::size_t Utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

// C0 controls, DEL and the C1 controls U+0080 to U+009F, which some terminals obey as well.
bool IsControl(std::string_view character) {
    const auto first = static_cast<unsigned char>(character.front());
    if (character.size() == 1) {
        return first < 0x20 || first == 0x7F;
    }
    return first == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0;
}

void AppendEscaped(std::string& shown, std::string_view bytes) {
    constexpr std::string_view kHex = "0123456789abcdef";
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        shown += "\\x";
        shown += kHex[value >> 4];
        shown += kHex[value & 0x0F];
    }
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

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
        const auto first = bytes.find_first_not_of(kBlanks);
        if (first == std::string_view::npos) {
            return;
        }
        bytes.remove_prefix(first);
    }
    const std::size_t room = kKeptLineBytes - kept_.size();
    kept_.append(bytes.substr(0, room));
    if (bytes.size() > room &&
        bytes.substr(room).find_first_not_of(kBlanks) != std::string_view::npos) {
        cut_ = true;
    }
}

void PlanLineReader::EndLine(const LineHandler& onLine) {
    ++lineNumber_;
    // A cut line is longer than any number, and what a message shows of it is all kept.
    const std::string_view line = cut_ ? std::string_view(kept_) : Trimmed(kept_);
    if (!line.empty() && line.front() != '#') {
        onLine({lineNumber_, std::string(line), cut_ ? std::nullopt : ParseDecimalInt32(line)});
    }
    kept_.clear();
    cut_ = false;
    lineOpen_ = false;
}

std::string ShownPlanLine(std::string_view line) {
    std::string shown;
    for (std::size_t count = 0; !line.empty(); ++count) {
        if (count == kShownLineCharacters) {
            return shown + "…";
        }
        const std::size_t sequence = Utf8SequenceLength(line);
        const std::string_view character = line.substr(0, std::max<std::size_t>(sequence, 1));
        if (sequence == 0 || IsControl(character)) {
            AppendEscaped(shown, character);
        } else {
            shown += character;
        }
        line.remove_prefix(character.size());
    }
    return shown;
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

void ReadPlanInput(const std::string& path, const PlanLineReader::LineHandler& onLine) {
    PlanLineReader reader;
    ReadInputChunks(path, [&](std::string_view chunk) { reader.Feed(chunk, onLine); });
    reader.Finish(onLine);
}

PlanFrequencies ReadPlanFrequencies(const std::string& path) {
    PlanFrequencies plan;
    int channel = 0;
    ReadPlanInput(path, [&](const PlanLine& line) {
        if (auto problem = PlanLineProblem(line, ++channel)) {
            plan.offending.Add(std::move(*problem));
        } else {
            plan.frequenciesKhz.push_back(*line.frequencyKhz);
        }
    });
    return plan;
}

}  // namespace vx40::tool
