// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

namespace vx40 {

// The lines of INI text: "[section]" lines and "key=value" lines below them. A line ends in
// CR LF, LF or a CR alone; a UTF-8 byte-order mark at the very start belongs to no line. Blanks
// (kIniBlanks) before a line's first character and around names and values do not count.
enum class IniLineKind {
    Other,    // a blank line, a comment (";"), a line without "=", an unclosed "[" line
    Section,  // "[" ... "]": whatever follows the "]" does not count
    Key,      // "name=value", the name possibly empty
};

struct IniLine {
    IniLineKind kind = IniLineKind::Other;
    // Section lines: the name between "[" and the first "]". Other lines: the name of the section
    // line above, empty before the first one.
    std::string_view section;
    std::string_view key;        // key lines: the text before the first "="
    std::string_view value;      // key lines: the text after it, uncut
    std::size_t valueBegin = 0;  // key lines: the offset of the first byte after "="
    std::size_t end = 0;         // the offset after the line's last byte, before its line end
    std::size_t next = 0;        // the offset of the next line's first byte
};

// Reads INI text line by line, each line once, so a pass is linear in the text's size and may
// stop at any line. The text must outlive the lines.
class IniLines {
  public:
    explicit IniLines(std::string_view text);

    // The next line into line; false after the last one.
    bool Next(IniLine& line);

  private:
    // The kind and the parts of the line whose bytes, without the line end, are text and start
    // at the offset begin.
    void Classify(std::string_view text, std::size_t begin, IniLine& line);

    std::string_view text_;
    std::size_t at_ = 0;
    std::string_view section_;
};

}  // namespace vx40
