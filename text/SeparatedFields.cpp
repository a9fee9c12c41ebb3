// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/SeparatedFields.h"

#include "text/CharacterRules.h"

namespace vx40 {

char DetectSeparator(std::string_view header) {
    std::size_t counts[3] = {0, 0, 0};
    bool quoted = false;
    for (const char c : header) {
        if (c == '"') {
            quoted = !quoted;
        } else if (const auto at = kFieldSeparators.find(c);
                   !quoted && at != std::string_view::npos) {
            ++counts[at];
        }
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < kFieldSeparators.size(); ++i) {
        if (counts[i] > counts[best]) {
            best = i;
        }
    }
    return counts[best] == 0 ? kNoSeparator : kFieldSeparators[best];
}

std::vector<SeparatedField> SplitFields(std::string_view row, char separator) {
    const std::string_view blanks = separator == '\t' ? " \r" : " \t\r";
    std::vector<SeparatedField> fields;
    while (true) {
        SeparatedField field;
        const auto start = row.find_first_not_of(blanks);
        row.remove_prefix(start == std::string_view::npos ? row.size() : start);
        if (!row.empty() && row.front() == '"') {
            std::size_t at = 1;
            while (true) {
                const auto quote = row.find('"', at);
                if (quote == std::string_view::npos) {
                    field.text += row.substr(at);
                    field.closed = false;
                    row = {};
                    break;
                }
                field.text += row.substr(at, quote - at);
                if (quote + 1 < row.size() && row[quote + 1] == '"') {
                    field.text += '"';
                    at = quote + 2;
                    continue;
                }
                row.remove_prefix(quote + 1);
                break;
            }
            if (!field.closed) {
                field.text.insert(0, "\"");
            }
        }
        const auto end = separator == kNoSeparator ? std::string_view::npos : row.find(separator);
        field.text += row.substr(0, end);
        field.text = std::string(Trimmed(field.text, blanks));
        fields.push_back(std::move(field));
        if (end == std::string_view::npos) {
            return fields;
        }
        row.remove_prefix(end + 1);
    }
}

}  // namespace vx40
