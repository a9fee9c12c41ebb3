// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FrequencyPlan.h"

#include <algorithm>

#include "channel/CellText.h"
#include "channel/ChannelConstants.h"
#include "tools/FrequencyText.h"

namespace vx40::tool {
namespace {

constexpr std::string_view kBlanks = " \t\r\f\v";
constexpr std::size_t kShownLineCharacters = 60;

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
