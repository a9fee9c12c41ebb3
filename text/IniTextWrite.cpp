// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/IniText.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "text/CharacterRules.h"
#include "text/IniLines.h"
#include "text/IniNames.h"

namespace vx40 {

namespace {

constexpr std::size_t kNone = IniNames::kNone;
constexpr std::string_view kLineEnd = "\r\n";

bool IsBlank(char c) {
    return kIniBlanks.find(c) != std::string_view::npos;
}

bool BreaksTheLine(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool AcceptableNames(std::string_view section, std::string_view key) {
    return !section.empty() && !key.empty() && section.find(']') == std::string_view::npos &&
           key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[';
}

// Why the write would break the text's lines, if it would.
std::optional<FailureKind> Refusal(const ProfileWrite& write) {
    if (BreaksTheLine(write.section) || BreaksTheLine(write.key) ||
        !AcceptableNames(Trimmed(write.section, kIniBlanks), Trimmed(write.key, kIniBlanks))) {
        return FailureKind::NameNotWritable;
    }
    if (BreaksTheLine(write.value)) {
        return FailureKind::ValueNotWritable;
    }
    return std::nullopt;
}

// A write of the value to the key line whose bytes after "=" are tail, on those bytes. The blanks
// after "=" stay, unless the value brings blanks of its own: a value that starts with a blank
// replaces them, so saving it again does not add another blank.
void WriteValueAfterEquals(std::string& tail, std::string_view value) {
    std::size_t keep = 0;
    if (value.empty() || !IsBlank(value.front())) {
        while (keep < tail.size() && IsBlank(tail[keep])) {
            ++keep;
        }
    }
    tail.resize(keep);
    tail.append(value);
}

// The writes gathered by section and key, each section and key in the order of its first write,
// under the spelling of that write.
struct WritePlan {
    struct Key {
        std::string_view name;
        std::vector<std::string_view> values;
    };
    struct Section {
        std::string_view name;
        std::vector<std::size_t> slots;
    };
    IniNames names;
    std::vector<Section> sections;
    std::vector<Key> keys;  // by slot
};

Result<WritePlan> PlanWrites(std::span<const ProfileWrite> writes) {
    WritePlan plan;
    for (std::size_t index = 0; index < writes.size(); ++index) {
        const ProfileWrite& write = writes[index];
        if (const std::optional<FailureKind> refusal = Refusal(write)) {
            return Failure(*refusal, 0, std::string(write.key), index);
        }
        const std::string_view section = Trimmed(write.section, kIniBlanks);
        const std::string_view key = Trimmed(write.key, kIniBlanks);
        const std::size_t sectionIndex = plan.names.AddSection(section);
        if (sectionIndex == plan.sections.size()) {
            plan.sections.push_back({section, {}});
        }
        const std::size_t slot = plan.names.AddKey(sectionIndex, key);
        if (slot == plan.keys.size()) {
            plan.keys.push_back({key, {}});
            plan.sections[sectionIndex].slots.push_back(slot);
        }
        plan.keys[slot].values.push_back(write.value);
    }
    return plan;
}

// Where the writes change the text, found in one pass: the first line of each key, else the line
// after which its section takes the missing keys.
struct WritePlaces {
    std::vector<std::optional<IniLine>> keyLines;     // by slot
    std::vector<std::optional<IniLine>> insertAfter;  // by section: header or last key line
};

WritePlaces FindWritePlaces(std::string_view content, const WritePlan& plan) {
    WritePlaces places;
    places.keyLines.resize(plan.keys.size());
    places.insertAfter.resize(plan.sections.size());
    IniSectionWalk walk(plan.names);
    IniLines lines(content);
    IniLine line;
    while (lines.Next(line)) {
        if (line.kind == IniLineKind::Section && !walk.Enter(line.section)) {
            break;
        }
        const std::size_t section = walk.Current();
        if (section == kNone || line.kind == IniLineKind::Other) {
            continue;
        }
        places.insertAfter[section] = line;
        if (line.kind == IniLineKind::Key && !line.key.empty()) {
            const std::size_t slot = plan.names.FindKey(section, line.key);
            if (slot != kNone && !places.keyLines[slot].has_value()) {
                places.keyLines[slot] = line;
            }
        }
    }
    return places;
}

struct Edit {
    std::size_t from = 0;
    std::size_t to = 0;  // the bytes from..to are replaced by text
    std::string text;
    bool newLines = false;  // text is whole lines put in before the byte at from
};

// A missing key's line: its first write adds it, the later ones change its value.
std::string NewKeyLine(const WritePlan::Key& key) {
    std::string tail(key.values.front());
    for (std::size_t i = 1; i < key.values.size(); ++i) {
        WriteValueAfterEquals(tail, key.values[i]);
    }
    return std::string(key.name) + "=" + tail + std::string(kLineEnd);
}

// The edits of the writes, ordered by where they go; the sections that are missing go last.
std::vector<Edit> PlanEdits(std::string_view content, const WritePlan& plan) {
    const WritePlaces places = FindWritePlaces(content, plan);
    std::vector<Edit> edits;
    std::string appended;
    for (std::size_t section = 0; section < plan.sections.size(); ++section) {
        std::string added;
        for (const std::size_t slot : plan.sections[section].slots) {
            if (const std::optional<IniLine>& line = places.keyLines[slot]) {
                std::string tail(content.substr(line->valueBegin, line->end - line->valueBegin));
                for (const std::string_view value : plan.keys[slot].values) {
                    WriteValueAfterEquals(tail, value);
                }
                edits.push_back({line->valueBegin, line->end, std::move(tail), false});
            } else {
                added += NewKeyLine(plan.keys[slot]);
            }
        }
        if (const std::optional<IniLine>& after = places.insertAfter[section]) {
            if (!added.empty()) {
                edits.push_back({after->next, after->next, std::move(added), true});
            }
        } else {
            appended.append("[").append(plan.sections[section].name).append("]");
            appended.append(kLineEnd).append(added);
        }
    }
    if (!appended.empty()) {
        edits.push_back({content.size(), content.size(), std::move(appended), true});
    }
    // Sorting keeps the appended sections last: they come after whatever goes at the text's end.
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.from < b.from; });
    return edits;
}

std::string ApplyEdits(std::string_view content, const std::vector<Edit>& edits) {
    std::size_t size = content.size() + kLineEnd.size();
    for (const Edit& edit : edits) {
        size += edit.text.size();
    }
    std::string result;
    result.reserve(size);
    std::size_t copied = 0;
    bool endTerminated = false;
    for (const Edit& edit : edits) {
        result.append(content.substr(copied, edit.from - copied));
        if (edit.newLines && edit.from == content.size() && !endTerminated && !content.empty() &&
            content.back() != '\n' && content.back() != '\r') {
            // What goes after the last line starts a line of its own.
            result.append(kLineEnd);
            endTerminated = true;
        }
        result.append(edit.text);
        copied = edit.to;
    }
    result.append(content.substr(copied));
    return result;
}

}  // namespace

Result<std::string> PrivateProfileTextAfterWrites(std::string_view content,
                                                  std::span<const ProfileWrite> writes) {
    const Result<WritePlan> plan = PlanWrites(writes);
    if (!plan.Ok()) {
        return plan.Error();
    }
    return ApplyEdits(content, PlanEdits(content, *plan));
}

Result<std::string> PrivateProfileTextAfterWrite(std::string_view content, std::string_view section,
                                                 std::string_view key, std::string_view value) {
    const ProfileWrite writes[] = {{section, key, value}};
    return PrivateProfileTextAfterWrites(content, writes);
}

}  // namespace vx40
