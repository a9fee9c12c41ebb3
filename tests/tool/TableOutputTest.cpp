// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/TableOutput.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace vx40::tool {
namespace {

std::string Printed(const TextRow& header, const std::vector<TextRow>& rows, bool csv) {
    std::ostringstream out;
    PrintTable(out, header, rows, csv);
    return out.str();
}

struct TableCase {
    const char* name;
    TextRow header;
    std::vector<TextRow> rows;
    std::string csv;
    std::string aligned;
};

TEST(PrintTable, PrintsCommaSeparatedOrAlignedColumns) {
    const TableCase cases[] = {
        {"NoRows", {"Kanal", "N"}, {}, "Kanal,N\n", "Kanal N\n"},
        {"RightAlignedWithoutBlanksAtTheEnd",
         {"A", "B", "C"},
         {{"1", "22", ""}, {"333", "", ""}},
         "A,B,C\n1,22,\n333,,\n",
         "  A  B C\n  1 22\n333\n"},
        {"BlankCellsPrintEmpty", {"A", "B"}, {{"   ", " x "}}, "A,B\n, x \n", "A   B\n   x\n"},
        {"QuotedWhereCsvNeedsIt",
         {"A"},
         {{"a,b"}, {"say \"hi\""}, {"cr\rlf"}},
         // The carriage return reaches the field escaped, so it needs no quotes.
         "A\n\"a,b\"\n\"say \"\"hi\"\"\"\ncr\\x0dlf\n",
         "       A\n     a,b\nsay \"hi\"\ncr\\x0dlf\n"},
        {"WidthCountsCharactersNotBytes",
         {"Größe", "B"},
         {{"ä", "\x1b"}},
         "Größe,B\nä,\\x1b\n",
         "Größe    B\n    ä \\x1b\n"},
        {"CellsBeyondTheHeaderAreLeftOutWhenAligned", {"A"}, {{"1", "2"}}, "A\n1,2\n", "A\n1\n"},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(Printed(row.header, row.rows, true), row.csv) << row.name;
        EXPECT_EQ(Printed(row.header, row.rows, false), row.aligned) << row.name;
    }
}

TEST(PrintChannelTable, PrintsSixteenNumberedChannelsUnderTheWindowsHeader) {
    ChannelTable table;
    table.SetCell(0, 1, "798300");
    table.SetCell(11, 16, "04");
    std::ostringstream out;
    PrintChannelTable(out, table, true);
    std::string expected =
        "Kanal,Frequenz,n0,n1,n2,D7,D6,D5,D4,D3,D2,D1,D0\n1,798300" + std::string(11, ',') + "\n";
    for (int channel = 2; channel <= 15; ++channel) {
        expected += std::to_string(channel) + std::string(12, ',') + "\n";
    }
    expected += "16" + std::string(12, ',') + "04\n";
    EXPECT_EQ(out.str(), expected);
    EXPECT_EQ(ChannelColumnHeader(false).front(), "Frequenz");
    EXPECT_EQ(ChannelRow(table, 1),
              (TextRow{"1", "798300", "", "", "", "", "", "", "", "", "", "", ""}));
}

}  // namespace
}  // namespace vx40::tool
