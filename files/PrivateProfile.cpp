// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/PrivateProfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "os/FileRead.h"
#include "os/FileReplace.h"

namespace vx40 {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

// A CR counts as a blank among the names a caller gives; in the text it always ends a line.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Collects a text that arrives byte by byte without the blanks at its ends, keeping at most limit
// bytes of it, so that a line of any length costs no more than the limit.
class TrimmedText {
  public:
    void Reset(std::size_t limit, bool stopAtNul) {
        text_.clear();
        pending_.clear();
        limit_ = limit;
        stopAtNul_ = stopAtNul;
        started_ = false;
        overflow_ = false;
        stopped_ = false;
    }

    void Add(char c) {
        if (stopped_) {
            return;
        }
        if (IsBlank(c)) {
            if (started_ && text_.size() + pending_.size() < limit_) {
                pending_ += c;
            }
            return;
        }
        started_ = true;
        text_ += pending_;
        pending_.clear();
        if (stopAtNul_ && c == '\0') {
            // The value ends here, as it would in the C string the caller's buffer holds.
            stopped_ = true;
        } else if (text_.size() >= limit_) {
            overflow_ = true;
        } else {
            text_ += c;
        }
    }

    const std::string& Text() const { return text_; }
    // The trimmed text was longer than the limit.
    bool Overflow() const { return overflow_; }

  private:
    std::string text_;
    std::string pending_;  // inner blanks that count only once another byte follows
    std::size_t limit_ = 0;
    bool stopAtNul_ = false;
    bool started_ = false;
    bool overflow_ = false;
    bool stopped_ = false;
};

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

// The sections and keys that one pass looks for, each under its name in lower case. A key is
// known by its slot, numbered across all sections.
class ProfileNames {
  public:
    std::size_t AddSection(std::string_view name) {
        const auto [at, added] = sections_.try_emplace(Lowered(name), sectionKeys_.size());
        if (added) {
            sectionKeys_.emplace_back();
            longestSection_ = std::max(longestSection_, name.size());
        }
        return at->second;
    }

    std::size_t AddKey(std::size_t section, std::string_view name) {
        SectionKeys& keys = sectionKeys_[section];
        const auto [at, added] = keys.slots.try_emplace(Lowered(name), slotCount_);
        if (added) {
            ++slotCount_;
            keys.longest = std::max(keys.longest, name.size());
        }
        return at->second;
    }

    std::size_t FindSection(std::string_view name) const {
        const auto at = sections_.find(Lowered(name));
        return at == sections_.end() ? kNone : at->second;
    }

    std::size_t FindKey(std::size_t section, std::string_view name) const {
        const auto& slots = sectionKeys_[section].slots;
        const auto at = slots.find(Lowered(name));
        return at == slots.end() ? kNone : at->second;
    }

    std::size_t SectionCount() const { return sectionKeys_.size(); }
    std::size_t SlotCount() const { return slotCount_; }
    std::size_t LongestSection() const { return longestSection_; }
    std::size_t LongestKey(std::size_t section) const { return sectionKeys_[section].longest; }

  private:
    struct SectionKeys {
        std::unordered_map<std::string, std::size_t> slots;
        std::size_t longest = 0;
    };

    const std::string& Lowered(std::string_view name) const {
        lowered_.assign(name);
        std::transform(lowered_.begin(), lowered_.end(), lowered_.begin(), LowerAscii);
        return lowered_;
    }

    std::unordered_map<std::string, std::size_t> sections_;
    std::vector<SectionKeys> sectionKeys_;
    std::size_t slotCount_ = 0;
    std::size_t longestSection_ = 0;
    mutable std::string lowered_;  // reused, so that a lookup allocates nothing
};

enum class LineKind { Other, Section, Key };

struct ScannedLine {
    // Key only for the key lines of the sections looked for: the lines of every other section
    // are skipped to their end without a look at their names.
    LineKind kind = LineKind::Other;
    // Section lines: the section looked for whose first header this is. Key lines: the section
    // looked for below whose first header the line stands. kNone otherwise.
    std::size_t section = kNone;
    std::size_t slot = kNone;     // key lines: the key looked for, or kNone
    bool terminated = false;      // the line ends in CR LF, LF or CR
    std::size_t end = 0;          // offset after the line's last byte, before its line end
    std::size_t next = 0;         // the first byte of the next line
    std::size_t afterEquals = 0;  // key lines: the first byte after "="
    // Key lines looked for: the value as a read returns it, valid while the line is handed over.
    std::string_view value;
};

// Splits INI text into lines and tells which of them are the sections and keys looked for. It
// takes the text in pieces of any size and looks at each byte once, so a pass is linear in the
// file size.
class ProfileScanner {
  public:
    explicit ProfileScanner(const ProfileNames& names)
        : names_(names), seen_(names.SectionCount(), false) {}

    // Hands every complete line to onLine; returns false as soon as onLine does.
    template <typename OnLine>
    bool Feed(std::string_view bytes, OnLine&& onLine) {
        std::size_t at = 0;
        while (at < bytes.size()) {
            if ((phase_ == Phase::Skip || phase_ == Phase::SectionTail) && !crPending_) {
                // Nothing more of this line counts but where it ends.
                const std::size_t stop = LineEndFrom(bytes, at);
                if (stop > at) {
                    offset_ += stop - at;
                    at = stop;
                    continue;
                }
            }
            if (!Step(bytes[at], onLine)) {
                return false;
            }
            ++at;
        }
        return true;
    }

    // Hands over the last line when the text does not end in LF.
    template <typename OnLine>
    void Finish(OnLine&& onLine) {
        if (phase_ == Phase::ByteOrderMark && !ReplayByteOrderMark(onLine)) {
            return;
        }
        if (crPending_) {
            crPending_ = false;
            EndLine(crAt_, crAt_ + 1, true, onLine);
        } else if (offset_ > lineBegin_) {
            EndLine(offset_, offset_, false, onLine);
        }
    }

  private:
    enum class Phase { ByteOrderMark, LineStart, Skip, SectionName, SectionTail, KeyName, Value };

    // The first CR or LF at or after from, or the end of bytes.
    static std::size_t LineEndFrom(std::string_view bytes, std::size_t from) {
        const char* begin = bytes.data() + from;
        std::size_t length = bytes.size() - from;
        if (const void* lf = std::memchr(begin, '\n', length)) {
            length = static_cast<std::size_t>(static_cast<const char*>(lf) - begin);
        }
        if (const void* cr = std::memchr(begin, '\r', length)) {
            length = static_cast<std::size_t>(static_cast<const char*>(cr) - begin);
        }
        return from + length;
    }

    template <typename OnLine>
    bool Step(char c, OnLine&& onLine) {
        if (phase_ == Phase::ByteOrderMark) {
            if (c == kByteOrderMark[bomBytes_]) {
                ++offset_;
                if (++bomBytes_ == kByteOrderMark.size()) {
                    phase_ = Phase::LineStart;
                    lineBegin_ = offset_;
                }
                return true;
            }
            if (!ReplayByteOrderMark(onLine)) {
                return false;
            }
        }
        const std::size_t at = offset_++;
        if (crPending_) {
            // A CR ends its line; an LF right after it belongs to the same line end.
            crPending_ = false;
            if (c == '\n') {
                return EndLine(crAt_, at + 1, true, onLine);
            }
            if (!EndLine(crAt_, crAt_ + 1, true, onLine)) {
                return false;
            }
        }
        if (c == '\n') {
            return EndLine(at, at + 1, true, onLine);
        }
        if (c == '\r') {
            crPending_ = true;
            crAt_ = at;
            return true;
        }
        switch (phase_) {
            case Phase::LineStart:
                if (c == '[') {
                    phase_ = Phase::SectionName;
                    name_.Reset(names_.LongestSection(), false);
                } else if (c == ';' || (section_ == kNone && !IsBlank(c))) {
                    // Only the key lines of the sections looked for are looked at.
                    phase_ = Phase::Skip;
                } else if (c == '=') {
                    name_.Reset(0, false);
                    StartValue();
                } else if (!IsBlank(c)) {
                    phase_ = Phase::KeyName;
                    name_.Reset(names_.LongestKey(section_), false);
                    name_.Add(c);
                }
                break;
            case Phase::SectionName:
                if (c == ']') {
                    phase_ = Phase::SectionTail;
                    kind_ = LineKind::Section;
                } else {
                    name_.Add(c);
                }
                break;
            case Phase::KeyName:
                if (c == '=') {
                    StartValue();
                } else {
                    name_.Add(c);
                }
                break;
            case Phase::Value:
                value_.Add(c);
                break;
            case Phase::ByteOrderMark:
            case Phase::Skip:
            case Phase::SectionTail:
                break;
        }
        return true;
    }

    // The first bytes looked like a byte-order mark but are not one: they are text after all.
    template <typename OnLine>
    bool ReplayByteOrderMark(OnLine&& onLine) {
        const std::size_t held = bomBytes_;
        phase_ = Phase::LineStart;
        offset_ = 0;
        lineBegin_ = 0;
        for (std::size_t i = 0; i < held; ++i) {
            if (!Step(kByteOrderMark[i], onLine)) {
                return false;
            }
        }
        return true;
    }

    void StartValue() {
        kind_ = LineKind::Key;
        afterEquals_ = offset_;
        slot_ = name_.Text().empty() || name_.Overflow() ? kNone
                                                         : names_.FindKey(section_, name_.Text());
        if (slot_ != kNone) {
            phase_ = Phase::Value;
            value_.Reset(kMaxProfileValueLength, true);
        } else {
            phase_ = Phase::Skip;
        }
    }

    template <typename OnLine>
    bool EndLine(std::size_t end, std::size_t next, bool terminated, OnLine&& onLine) {
        ScannedLine line;
        line.kind = kind_;
        line.terminated = terminated;
        line.end = end;
        line.next = next;
        if (kind_ == LineKind::Section) {
            const std::size_t found = name_.Overflow() ? kNone : names_.FindSection(name_.Text());
            section_ = found != kNone && !seen_[found] ? found : kNone;
            if (section_ != kNone) {
                seen_[section_] = true;
            }
            line.section = section_;
        } else if (kind_ == LineKind::Key) {
            line.section = section_;
            line.slot = slot_;
            line.afterEquals = afterEquals_;
            if (slot_ != kNone) {
                line.value = value_.Text();
            }
        }
        phase_ = Phase::LineStart;
        kind_ = LineKind::Other;
        slot_ = kNone;
        lineBegin_ = next;
        return onLine(static_cast<const ScannedLine&>(line));
    }

    const ProfileNames& names_;
    std::vector<bool> seen_;  // the sections looked for whose first header has passed
    Phase phase_ = Phase::ByteOrderMark;
    std::size_t bomBytes_ = 0;
    std::size_t offset_ = 0;
    std::size_t lineBegin_ = 0;
    std::size_t afterEquals_ = 0;
    std::size_t crAt_ = 0;
    std::size_t section_ = kNone;  // the section looked for whose first header the lines follow
    std::size_t slot_ = kNone;
    LineKind kind_ = LineKind::Other;
    bool crPending_ = false;  // a CR ended the line; the next byte tells whether an LF follows
    TrimmedText name_;
    TrimmedText value_;
};

// Follows which sections looked for are still to come or open, so that a pass may end as soon
// as every one of them has been passed.
class SectionProgress {
  public:
    explicit SectionProgress(std::size_t sections) : left_(sections) {}

    // False once the line closes the last section looked for.
    bool Continue(const ScannedLine& line) {
        if (line.kind != LineKind::Section) {
            return true;
        }
        if (open_ && --left_ == 0) {
            return false;
        }
        open_ = line.section != kNone;
        return true;
    }

  private:
    std::size_t left_;
    bool open_ = false;
};

bool BreaksTheLine(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool AcceptableNames(std::string_view section, std::string_view key) {
    return !section.empty() && !key.empty() && section.find(']') == std::string_view::npos &&
           key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[';
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
    ProfileNames names;
    std::vector<Section> sections;
    std::vector<Key> keys;  // by slot
};

std::optional<WritePlan> PlanWrites(std::span<const ProfileWrite> writes) {
    WritePlan plan;
    for (const ProfileWrite& write : writes) {
        if (BreaksTheLine(write.section) || BreaksTheLine(write.key) ||
            BreaksTheLine(write.value)) {
            return std::nullopt;
        }
        const std::string_view section = Trim(write.section);
        const std::string_view key = Trim(write.key);
        if (!AcceptableNames(section, key)) {
            return std::nullopt;
        }
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
    std::vector<std::optional<ScannedLine>> keyLines;     // by slot
    std::vector<std::optional<ScannedLine>> insertAfter;  // by section: header or last key line
};

WritePlaces FindWritePlaces(std::string_view content, const WritePlan& plan) {
    WritePlaces places;
    places.keyLines.resize(plan.keys.size());
    places.insertAfter.resize(plan.sections.size());
    ProfileScanner scanner(plan.names);
    SectionProgress progress(plan.sections.size());
    const auto onLine = [&](const ScannedLine& line) {
        if (!progress.Continue(line)) {
            return false;
        }
        if (line.section == kNone) {
            return true;
        }
        if (line.kind == LineKind::Section) {
            places.insertAfter[line.section] = line;
        } else if (line.kind == LineKind::Key) {
            places.insertAfter[line.section] = line;
            if (line.slot != kNone && !places.keyLines[line.slot].has_value()) {
                places.keyLines[line.slot] = line;
            }
        }
        return true;
    };
    if (scanner.Feed(content, onLine)) {
        scanner.Finish(onLine);
    }
    return places;
}

// The text after the writes, from one pass to find the places and one to copy the text.
std::string NewContent(std::string_view content, const WritePlan& plan) {
    const WritePlaces places = FindWritePlaces(content, plan);
    struct Edit {
        std::size_t from = 0;
        std::size_t to = 0;  // the bytes from..to are replaced by text
        std::string text;
        bool newLines = false;  // text is whole lines put in before the byte at from
    };
    std::vector<Edit> edits;
    std::string appended;
    // A missing key's line: its first write adds it, the later ones change its value.
    const auto keyLineText = [&](std::size_t slot) {
        const WritePlan::Key& key = plan.keys[slot];
        std::string tail(key.values.front());
        for (std::size_t i = 1; i < key.values.size(); ++i) {
            WriteValueAfterEquals(tail, key.values[i]);
        }
        return std::string(key.name) + "=" + tail + std::string(kLineEnd);
    };
    for (std::size_t section = 0; section < plan.sections.size(); ++section) {
        std::string added;
        for (const std::size_t slot : plan.sections[section].slots) {
            if (const std::optional<ScannedLine>& line = places.keyLines[slot]) {
                std::string tail(content.substr(line->afterEquals, line->end - line->afterEquals));
                for (const std::string_view value : plan.keys[slot].values) {
                    WriteValueAfterEquals(tail, value);
                }
                edits.push_back({line->afterEquals, line->end, std::move(tail), false});
            } else {
                added += keyLineText(slot);
            }
        }
        if (const std::optional<ScannedLine>& after = places.insertAfter[section]) {
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

// The values of the keys from one pass over the text that read hands, chunk by chunk, to the
// function it is given; read returns false when the text could not be read to its end.
template <typename ReadChunks>
ProfileValues ProfileStrings(std::span<const ProfileKey> keys, std::string_view defaultValue,
                             ReadChunks&& read) {
    ProfileNames names;
    std::vector<std::size_t> slots;
    slots.reserve(keys.size());
    for (const ProfileKey& wanted : keys) {
        const std::string_view section = Trim(wanted.section);
        const std::string_view key = Trim(wanted.key);
        slots.push_back(
            section.empty() || key.empty() ? kNone : names.AddKey(names.AddSection(section), key));
    }
    // The index of the pass: the value of the first line of each key looked for.
    std::vector<std::optional<std::string>> found(names.SlotCount());
    std::size_t missing = names.SlotCount();
    ProfileScanner scanner(names);
    SectionProgress progress(names.SectionCount());
    ProfileValues result;
    const auto onLine = [&](const ScannedLine& line) {
        if (line.kind == LineKind::Section && line.section != kNone) {
            result.anySection = true;
        }
        if (!progress.Continue(line)) {
            return false;
        }
        if (line.slot != kNone && !found[line.slot].has_value()) {
            found[line.slot] = std::string(line.value);
            return --missing > 0;
        }
        return true;
    };
    bool scanning = missing > 0;
    if (scanning) {
        const bool whole =
            read([&](std::string_view chunk) { return scanning = scanner.Feed(chunk, onLine); });
        if (whole && scanning) {
            scanner.Finish(onLine);
        }
    }
    result.values.reserve(keys.size());
    for (const std::size_t slot : slots) {
        result.values.emplace_back(slot != kNone && found[slot].has_value() ? *found[slot]
                                                                            : defaultValue);
    }
    return result;
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& path) {
    const ProfileKey keys[] = {{section, key}};
    return std::move(GetPrivateProfileStrings(keys, defaultValue, path).front());
}

std::vector<std::string> GetPrivateProfileStrings(std::span<const ProfileKey> keys,
                                                  std::string_view defaultValue,
                                                  const std::string& path) {
    return GetPrivateProfileValues(keys, defaultValue, path).values;
}

ProfileValues GetPrivateProfileValues(std::span<const ProfileKey> keys,
                                      std::string_view defaultValue, const std::string& path) {
    return ProfileStrings(keys, defaultValue, [&](const auto& consume) {
        return ReadFileChunks(path, std::numeric_limits<std::size_t>::max(),
                              ReadableFiles::RegularOnly, consume)
            .Ok();
    });
}

ProfileValues GetPrivateProfileValuesOfText(std::span<const ProfileKey> keys,
                                            std::string_view defaultValue,
                                            std::string_view content) {
    return ProfileStrings(keys, defaultValue, [&](const auto& consume) {
        consume(content);
        return true;
    });
}

std::optional<std::string> PrivateProfileTextAfterWrites(std::string_view content,
                                                         std::span<const ProfileWrite> writes) {
    std::optional<WritePlan> plan = PlanWrites(writes);
    if (!plan) {
        return std::nullopt;
    }
    return NewContent(content, *plan);
}

std::optional<std::string> PrivateProfileTextAfterWrite(std::string_view content,
                                                        std::string_view section,
                                                        std::string_view key,
                                                        std::string_view value) {
    const ProfileWrite writes[] = {{section, key, value}};
    return PrivateProfileTextAfterWrites(content, writes);
}

bool WritePrivateProfileStrings(std::span<const ProfileWrite> writes, const std::string& path) {
    try {
        std::optional<WritePlan> plan = PlanWrites(writes);
        if (!plan) {
            return false;
        }
        const Result<std::string> old = ReadFilePrefix(
            path, std::numeric_limits<std::size_t>::max(), ReadableFiles::RegularOnly);
        if (!old.Ok() && old.Error().error != ENOENT) {
            return false;
        }
        return ReplaceFile(path, NewContent(old.Ok() ? *old : std::string(), *plan),
                           SyncToDisk::Yes)
            .Ok();
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path) {
    const ProfileWrite writes[] = {{section, key, value}};
    return WritePrivateProfileStrings(writes, path);
}

}  // namespace vx40
