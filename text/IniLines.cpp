// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/IniLines.h"

#include <cstring>

#include "text/CharacterRules.h"

namespace vx40 {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The first CR or LF at or after from, or the end of the text.
std::size_t LineEndFrom(std::string_view text, std::size_t from) {
    const char* begin = text.data() + from;
    std::size_t length = text.size() - from;
    if (const void* lf = std::memchr(begin, '\n', length)) {
        length = static_cast<std::size_t>(static_cast<const char*>(lf) - begin);
    }
    if (const void* cr = std::memchr(begin, '\r', length)) {
        length = static_cast<std::size_t>(static_cast<const char*>(cr) - begin);
    }
    return from + length;
}

}  // namespace

IniLines::IniLines(std::string_view text)
    : text_(text), at_(text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? 3 : 0) {}

bool IniLines::Next(IniLine& line) {
    if (at_ >= text_.size()) {
        return false;
    }
    const std::size_t begin = at_;
    line.end = LineEndFrom(text_, begin);
    line.next = line.end;
    if (line.next < text_.size()) {
        const bool crLf = text_[line.next] == '\r' && line.next + 1 < text_.size() &&
                          text_[line.next + 1] == '\n';
        line.next += crLf ? 2 : 1;
    }
    at_ = line.next;
    Classify(text_.substr(begin, line.end - begin), begin, line);
    return true;
}

void IniLines::Classify(std::string_view text, std::size_t begin, IniLine& line) {
    const std::size_t first = text.find_first_not_of(kIniBlanks);
    line.kind = IniLineKind::Other;
    line.section = section_;
    line.key = {};
    line.value = {};
    if (first == std::string_view::npos || text[first] == ';') {
        return;
    }
    if (text[first] == '[') {
        if (const std::size_t close = text.find(']', first); close != std::string_view::npos) {
            line.kind = IniLineKind::Section;
            section_ = line.section =
                Trimmed(text.substr(first + 1, close - first - 1), kIniBlanks);
        }
        return;
    }
    if (const std::size_t equals = text.find('=', first); equals != std::string_view::npos) {
        line.kind = IniLineKind::Key;
        line.key = Trimmed(text.substr(first, equals - first), kIniBlanks);
        line.value = Trimmed(text.substr(equals + 1), kIniBlanks);
        line.valueBegin = begin + equals + 1;
    }
}

}  // namespace vx40
