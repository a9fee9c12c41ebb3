// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "text/FieldEdit.h"

namespace vx40 {

// A field written as in the case tables: its text with "|" at the caret and "[...]" around the
// selection; without a "|", the caret stands at the selection's end.
inline FieldState ParseField(std::string_view notation) {
    FieldState field;
    bool caretGiven = false;
    for (const char c : notation) {
        const std::size_t here = Utf16Length(field.text);
        if (c == '|') {
            field.caret = here;
            caretGiven = true;
        } else if (c == '[') {
            field.selectionStart = here;
        } else if (c == ']') {
            field.selectionLength = here - field.selectionStart;
        } else {
            field.text.push_back(c);
        }
    }
    if (!caretGiven) {
        field.caret = field.selectionStart + field.selectionLength;
    }
    return field;
}

inline std::string ShowField(const FieldState& field) {
    std::string shown = field.text;
    const auto mark = [&](std::size_t position, const char* text) {
        shown.insert(Utf8Offset(shown, position), text);
    };
    const std::size_t end = field.selectionStart + field.selectionLength;
    if (field.selectionLength == 0) {
        mark(field.caret, "|");
    } else {
        mark(end, "]");
        mark(field.selectionStart, field.caret == field.selectionStart ? "|[" : "[");
    }
    return shown;
}

// The rows of a tab-separated table in tests/data, by column name: the first row that is not
// empty or a comment ("#") names the columns.
using CaseRow = std::map<std::string, std::string>;

inline std::vector<CaseRow> ReadCaseTable(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::vector<std::string> columns;
    std::vector<CaseRow> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line.front() == '#') {
            continue;
        }
        std::vector<std::string> cells;
        std::istringstream cellStream(line);
        for (std::string cell; std::getline(cellStream, cell, '\t');) {
            cells.push_back(cell);
        }
        if (columns.empty()) {
            columns = cells;
            continue;
        }
        CaseRow& row = rows.emplace_back();
        for (std::size_t i = 0; i < columns.size() && i < cells.size(); ++i) {
            row[columns[i]] = cells[i];
        }
    }
    return rows;
}

}  // namespace vx40
