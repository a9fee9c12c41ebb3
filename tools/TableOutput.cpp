// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TableOutput.h"

#include <algorithm>

#include "channel/CellText.h"
#include "channel/ChannelConstants.h"
#include "text/ShownText.h"

namespace vx40::tool {
namespace {

constexpr std::string_view kChannelHeader = "Kanal";

std::string PrintedText(const std::string& cell) {
    if (cell.find_first_not_of(' ') == std::string::npos) {
        return {};
    }
    return ShownText(cell);
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    return quoted + "\"";
}

// Characters on screen: the lead bytes of UTF-8 sequences and plain ASCII.
std::size_t DisplayWidth(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

void AppendCsvRow(std::string& out, const TextRow& row) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        out += (i > 0 ? "," : "") + CsvField(PrintedText(row[i]));
    }
    out += '\n';
}

}  // namespace

TextRow ChannelColumnHeader(bool withChannel) {
    TextRow header;
    if (withChannel) {
        header.emplace_back(kChannelHeader);
    }
    for (const auto text : kHeaderTexts) {
        header.emplace_back(text);
    }
    return header;
}

TextRow ChannelRow(const ChannelTable& table, int row) {
    TextRow printed{DecimalText(row)};
    for (int c = 0; c < kColumnCount; ++c) {
        printed.push_back(table.Cell(c, row));
    }
    return printed;
}

std::string TableText(const TextRow& header, const std::vector<TextRow>& rows, bool csv) {
    std::string out;
    if (csv) {
        AppendCsvRow(out, header);
        for (const auto& row : rows) {
            AppendCsvRow(out, row);
        }
        return out;
    }
    std::vector<std::size_t> widths(header.size(), 0);
    const auto widen = [&](const TextRow& row) {
        for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
            widths[i] = std::max(widths[i], DisplayWidth(PrintedText(row[i])));
        }
    };
    widen(header);
    for (const auto& row : rows) {
        widen(row);
    }
    // Right-aligned, one blank between columns, no blanks at the end of a line.
    const auto print = [&](const TextRow& row) {
        std::string line;
        for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
            const std::string text = PrintedText(row[i]);
            line += (i > 0 ? " " : "");
            line += std::string(widths[i] - DisplayWidth(text), ' ') + text;
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + '\n';
    };
    print(header);
    for (const auto& row : rows) {
        print(row);
    }
    return out;
}

void PrintTable(std::ostream& out, const TextRow& header, const std::vector<TextRow>& rows,
                bool csv) {
    out << TableText(header, rows, csv);
}

void PrintChannelTable(std::ostream& out, const ChannelTable& table, bool csv) {
    std::vector<TextRow> rows;
    for (int r = 1; r < kRowCount; ++r) {
        rows.push_back(ChannelRow(table, r));
    }
    PrintTable(out, ChannelColumnHeader(true), rows, csv);
}

}  // namespace vx40::tool
