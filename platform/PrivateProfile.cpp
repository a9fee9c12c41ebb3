#include "platform/PrivateProfile.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <new>
#include <optional>
#include <stdexcept>

#include "platform/FileRead.h"
#include "platform/FileReplace.h"

namespace vx40 {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

// A CR counts as a blank, so the CR of a CR LF line end never reaches a name or a value.
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

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
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

enum class LineKind { Other, Section, Key };

struct ScannedLine {
    // Key only for the key lines of the wanted section: the lines of every other section are
    // skipped to their end without a look at their names.
    LineKind kind = LineKind::Other;
    // Key lines: the line stands below the first header of the wanted section.
    bool inWantedSection = false;
    // The first header of the wanted section, or a line of the wanted key within that section.
    bool wanted = false;
    bool terminated = false;      // the line ends in LF
    std::size_t end = 0;          // offset after the line's last byte, before CR LF or LF
    std::size_t next = 0;         // the first byte of the next line
    std::size_t valueBegin = 0;   // wanted key lines: the value's first byte that is no blank
    std::size_t afterEquals = 0;  // wanted key lines: the first byte after "="
    std::string_view value;       // wanted key lines: the value as a read returns it
};

// Splits INI text into lines and tells which of them are the wanted section and key. It takes the
// text in pieces of any size and looks at each byte once, so reading is linear in the file size.
class ProfileScanner {
  public:
    ProfileScanner(std::string_view section, std::string_view key) : section_(section), key_(key) {}

    // Hands every complete line to onLine; returns false as soon as onLine does.
    template <typename OnLine>
    bool Feed(std::string_view bytes, OnLine&& onLine) {
        std::size_t at = 0;
        while (at < bytes.size()) {
            if (phase_ == Phase::Skip || phase_ == Phase::SectionTail) {
                // Nothing more of this line counts but where it ends.
                const std::size_t stop = std::min(bytes.find('\n', at), bytes.size());
                if (stop > at) {
                    lastWasCr_ = bytes[stop - 1] == '\r';
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
        if (phase_ == Phase::ByteOrderMark) {
            ReplayByteOrderMark(onLine);
        }
        if (offset_ > lineBegin_) {
            EndLine(offset_, false, onLine);
        }
    }

  private:
    enum class Phase { ByteOrderMark, LineStart, Skip, SectionName, SectionTail, KeyName, Value };

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
        if (c == '\n') {
            return EndLine(at, true, onLine);
        }
        lastWasCr_ = c == '\r';
        switch (phase_) {
            case Phase::LineStart:
                if (c == '[') {
                    phase_ = Phase::SectionName;
                    name_.Reset(section_.size(), false);
                } else if (c == ';' || (!inWanted_ && !IsBlank(c))) {
                    // Only the key lines of the wanted section are looked at.
                    phase_ = Phase::Skip;
                } else if (c == '=') {
                    name_.Reset(key_.size(), false);
                    StartValue();
                } else if (!IsBlank(c)) {
                    phase_ = Phase::KeyName;
                    name_.Reset(key_.size(), false);
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
                if (valueBegin_ == kNone && !IsBlank(c)) {
                    valueBegin_ = at;
                }
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
        keyWanted_ = inWanted_ && !name_.Overflow() && EqualsIgnoringCase(name_.Text(), key_);
        if (keyWanted_) {
            phase_ = Phase::Value;
            valueBegin_ = kNone;
            afterEquals_ = offset_;
            value_.Reset(kMaxProfileValueLength, true);
        } else {
            phase_ = Phase::Skip;
        }
    }

    template <typename OnLine>
    bool EndLine(std::size_t end, bool terminated, OnLine&& onLine) {
        ScannedLine line;
        line.kind = kind_;
        line.terminated = terminated;
        line.end = lastWasCr_ ? end - 1 : end;
        line.next = terminated ? end + 1 : end;
        if (kind_ == LineKind::Section) {
            const bool matches = !name_.Overflow() && EqualsIgnoringCase(name_.Text(), section_);
            line.wanted = matches && !wantedSeen_;
            inWanted_ = line.wanted;
            wantedSeen_ = wantedSeen_ || matches;
        } else if (kind_ == LineKind::Key) {
            line.inWantedSection = inWanted_;
            line.wanted = keyWanted_;
            if (keyWanted_) {
                line.valueBegin = valueBegin_ == kNone ? line.end : valueBegin_;
                line.afterEquals = afterEquals_;
                line.value = value_.Text();
            }
        }
        phase_ = Phase::LineStart;
        kind_ = LineKind::Other;
        keyWanted_ = false;
        lastWasCr_ = false;
        lineBegin_ = line.next;
        return onLine(static_cast<const ScannedLine&>(line));
    }

    static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

    std::string_view section_;
    std::string_view key_;
    Phase phase_ = Phase::ByteOrderMark;
    std::size_t bomBytes_ = 0;
    std::size_t offset_ = 0;
    std::size_t lineBegin_ = 0;
    std::size_t valueBegin_ = kNone;
    std::size_t afterEquals_ = 0;
    LineKind kind_ = LineKind::Other;
    bool lastWasCr_ = false;
    bool inWanted_ = false;
    bool wantedSeen_ = false;
    bool keyWanted_ = false;
    TrimmedText name_;
    TrimmedText value_;
};

bool BreaksTheLine(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool AcceptableNames(std::string_view section, std::string_view key) {
    return !section.empty() && !key.empty() && section.find(']') == std::string_view::npos &&
           key.find('=') == std::string_view::npos && key.front() != ';' && key.front() != '[';
}

struct WriteNames {
    std::string_view section;
    std::string_view key;
};

// The names without the blanks at their ends, when a write of them and the value keeps the
// file's structure.
std::optional<WriteNames> CheckedNames(std::string_view section, std::string_view key,
                                       std::string_view value) {
    if (BreaksTheLine(section) || BreaksTheLine(key) || BreaksTheLine(value)) {
        return std::nullopt;
    }
    const WriteNames names{Trim(section), Trim(key)};
    if (!AcceptableNames(names.section, names.key)) {
        return std::nullopt;
    }
    return names;
}

// Where a write changes the text: the wanted key's line, or else the line after which it goes.
struct WritePlace {
    std::optional<ScannedLine> header;
    std::optional<ScannedLine> lastKey;
    std::optional<ScannedLine> wantedKey;
};

WritePlace FindWritePlace(std::string_view content, std::string_view section,
                          std::string_view key) {
    WritePlace place;
    ProfileScanner scanner(section, key);
    const auto onLine = [&](const ScannedLine& line) {
        if (line.kind == LineKind::Section) {
            if (line.wanted) {
                place.header = line;
                return true;
            }
            return !place.header.has_value();
        }
        if (line.kind == LineKind::Key && line.inWantedSection) {
            if (line.wanted) {
                place.wantedKey = line;
                return false;
            }
            place.lastKey = line;
        }
        return true;
    };
    if (scanner.Feed(content, onLine)) {
        scanner.Finish(onLine);
    }
    return place;
}

std::string NewContent(std::string_view content, std::string_view section, std::string_view key,
                       std::string_view value) {
    const WritePlace place = FindWritePlace(content, section, key);
    std::string result;
    result.reserve(content.size() + section.size() + key.size() + value.size() + 8);
    if (place.wantedKey.has_value()) {
        // The blanks after "=" stay, unless the value brings blanks of its own: a value that
        // starts with a blank replaces them, so saving it again does not add another blank.
        const bool ownBlanks = !value.empty() && IsBlank(value.front());
        const std::size_t from =
            ownBlanks ? place.wantedKey->afterEquals : place.wantedKey->valueBegin;
        result.append(content.substr(0, from));
        result.append(value);
        result.append(content.substr(place.wantedKey->end));
        return result;
    }
    if (place.header.has_value()) {
        const ScannedLine& after = place.lastKey.has_value() ? *place.lastKey : *place.header;
        result.append(content.substr(0, after.next));
        if (!after.terminated) {
            result.append(kLineEnd);
        }
        result.append(key).append("=").append(value).append(kLineEnd);
        result.append(content.substr(after.next));
        return result;
    }
    result.append(content);
    if (!content.empty() && content.back() != '\n') {
        result.append(kLineEnd);
    }
    result.append("[").append(section).append("]").append(kLineEnd);
    result.append(key).append("=").append(value).append(kLineEnd);
    return result;
}

}  // namespace

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& path) {
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty()) {
        return std::string(defaultValue);
    }
    std::optional<std::string> found;
    bool sectionStarted = false;
    ProfileScanner scanner(section, key);
    const auto onLine = [&](const ScannedLine& line) {
        if (line.kind == LineKind::Section) {
            if (sectionStarted) {
                return false;
            }
            sectionStarted = line.wanted;
        } else if (line.wanted) {
            found = std::string(line.value);
            return false;
        }
        return true;
    };
    bool scanning = true;
    const FileReadResult read = ReadFileChunks(
        path, std::numeric_limits<std::size_t>::max(), ReadableFiles::RegularOnly,
        [&](std::string_view chunk) { return scanning = scanner.Feed(chunk, onLine); });
    if (read.Ok() && scanning) {
        scanner.Finish(onLine);
    }
    return found.has_value() ? *found : std::string(defaultValue);
}

std::optional<std::string> PrivateProfileTextAfterWrite(std::string_view content,
                                                        std::string_view section,
                                                        std::string_view key,
                                                        std::string_view value) {
    const std::optional<WriteNames> names = CheckedNames(section, key, value);
    if (!names) {
        return std::nullopt;
    }
    return NewContent(content, names->section, names->key, value);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path) {
    const std::optional<WriteNames> names = CheckedNames(section, key, value);
    if (!names) {
        return false;
    }
    try {
        const FilePrefix old = ReadFilePrefix(path, std::numeric_limits<std::size_t>::max(),
                                              ReadableFiles::RegularOnly);
        if (!old.result.Ok() && old.result.error != ENOENT) {
            return false;
        }
        const std::string content = NewContent(old.bytes, names->section, names->key, value);
        return ReplaceFile(path, content, SyncToDisk::No).Ok();
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

}  // namespace vx40
