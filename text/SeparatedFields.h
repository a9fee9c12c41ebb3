// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vx40 {

// The separators of a table that a spreadsheet exports, in the order in which a tie is decided.
inline constexpr std::string_view kFieldSeparators = ";\t,";
// No separator: the whole line is one field.
inline constexpr char kNoSeparator = '\0';

// The separator of a table, from its header row: the one of kFieldSeparators that stands most
// often outside quotes; kNoSeparator for a row of one field.
char DetectSeparator(std::string_view header);

// One field of a row.
struct SeparatedField {
    std::string text;    // without the blanks around it and without its quotes
    bool closed = true;  // false: a quote opened the field and the row ended inside it
};

// The fields of a row. A field may be quoted: then it may hold the separator, and "" stands for
// one quote; what follows its closing quote up to the separator is kept as it is. A field whose
// quote is never closed runs to the end of the row and keeps its opening quote. Blanks (space,
// and tab where it does not separate) around a field are dropped.
std::vector<SeparatedField> SplitFields(std::string_view row, char separator);

}  // namespace vx40
