// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/ChannelTable.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "channel/CellText.h"
#include "channel/NFactorBackCalculation.h"

namespace vx40 {
namespace {

class RecordingObserver : public ChannelTableObserver {
  public:
    void CellChanged(int column, int row) override { changes.emplace_back(column, row); }
    void RepaintNow() override { ++repaints; }
    std::vector<std::pair<int, int>> changes;
    int repaints = 0;
};

TEST(ChannelTable, StartsEmptyWithTheCurrentCellInRowOne) {
    ChannelTable table;
    for (int r = 0; r < kRowCount; ++r) {
        for (int c = 0; c < kColumnCount; ++c) {
            EXPECT_EQ(table.Cell(c, r), "");
        }
    }
    EXPECT_EQ(table.CurrentColumn(), 0);
    EXPECT_EQ(table.CurrentRow(), 1);
}

TEST(ChannelTable, HeaderRowAndClear) {
    ChannelTable table;
    table.WriteHeaderRow();
    table.Clear();
    const std::vector<std::string> header = {"Frequenz", "n0", "n1", "n2", "D7", "D6",
                                             "D5",       "D4", "D3", "D2", "D1", "D0"};
    for (int c = 0; c < kColumnCount; ++c) {
        EXPECT_EQ(table.Cell(c, 0), header[static_cast<std::size_t>(c)]);
        for (int r = 1; r < kRowCount; ++r) {
            EXPECT_EQ(table.Cell(c, r), "  ");
        }
    }
}

TEST(ChannelTable, CellsKeepTheirTextExactly) {
    ChannelTable table;
    table.SetCell(11, 16, " 0a \t");
    EXPECT_EQ(table.Cell(11, 16), " 0a \t");
    EXPECT_DEATH(static_cast<void>(table.Cell(12, 0)), "channel table cell out of range");
    EXPECT_DEATH(table.SetCell(0, 17, "x"), "channel table cell out of range");
}

TEST(ChannelTable, CurrentCellNeverEntersTheHeaderRow) {
    ChannelTable table;
    table.SetCurrentCell(5, 9);
    table.SetCurrentCell(3, 0);
    table.SetCurrentCell(3, 17);
    table.SetCurrentCell(12, 4);
    EXPECT_EQ(table.CurrentColumn(), 5);
    EXPECT_EQ(table.CurrentRow(), 9);
}

TEST(ChannelTable, FrequencyPickUpWritesOnlyColumnZeroOfTheCurrentRow) {
    ChannelTable table;
    for (int c = 1; c < kColumnCount; ++c) {
        table.SetCell(c, 5, "x");
    }
    table.SetCurrentCell(7, 5);
    table.FrequencyPickUp(798300);
    EXPECT_EQ(table.Cell(0, 5), "798300");
    table.FrequencyPickUp(800000);
    EXPECT_EQ(table.Cell(0, 5), "800000");
    table.FrequencyPickUp(-5);
    EXPECT_EQ(table.Cell(0, 5), "-5");
    table.FrequencyPickUp(INT_MIN);
    EXPECT_EQ(table.Cell(0, 5), "-2147483648");
    for (int c = 1; c < kColumnCount; ++c) {
        EXPECT_EQ(table.Cell(c, 5), "x");
    }
    EXPECT_EQ(table.Cell(0, 4), "");
}

TEST(ChannelTable, TellsTheViewOfEveryChange) {
    ChannelTable table;
    RecordingObserver view;
    table.SetObserver(&view);
    table.WriteHeaderRow();
    EXPECT_EQ(view.changes.size(), 12U);
    table.Clear();
    EXPECT_EQ(view.changes.size(), 12U + 192U);
    // Clear walks column by column.
    EXPECT_EQ(view.changes[12], std::make_pair(0, 1));
    EXPECT_EQ(view.changes[13], std::make_pair(0, 2));
    table.RepaintNow();
    EXPECT_EQ(view.repaints, 1);
    (void)table.Cell(0, 0);
    EXPECT_EQ(view.changes.size(), 12U + 192U);
}

TEST(CellText, OnlyTheSixteenExactTextsAreNibbles) {
    for (int v = 0; v < 16; ++v) {
        EXPECT_EQ(NibbleValue(NibbleText(v)), v);
    }
    EXPECT_EQ(NibbleText(10), "0A");
    for (const char* text : {"0a", " 0A", "0A ", "A", "10", "", "00 ", "0G", "  ", "1F"}) {
        EXPECT_FALSE(NibbleValue(text)) << '"' << text << '"';
    }
    EXPECT_EQ(TwoDigitHexText(5), "05");
    EXPECT_EQ(TwoDigitHexText(200), "C8");
    EXPECT_EQ(TwoDigitHexText(-1), "FFFFFFFF");
}

// Data nibbles D7..D0 of row r are columns 4..11.
void SetNibbles(ChannelTable& table, int row, const std::vector<std::string>& d7ToD0) {
    for (int i = 0; i < 8; ++i) {
        table.SetCell(4 + i, row, d7ToD0[static_cast<std::size_t>(i)]);
    }
}

std::vector<std::string> Columns0To3(const ChannelTable& table, int row) {
    return {table.Cell(0, row), table.Cell(1, row), table.Cell(2, row), table.Cell(3, row)};
}

TEST(BackCalculation, RecomputesEveryRowFromItsNibbles) {
    ChannelTable table;
    table.WriteHeaderRow();
    SetNibbles(table, 1, {"xx", "08", "03", "07", "02", "0F", "08", "??"});  // the worked example
    SetNibbles(table, 2, {"0F", "0F", "0F", "0F", "0F", "0F", "0F", "0F"});  // after a refusal
    SetNibbles(table, 3, {"00", "00", "00", "00", "00", "00", "01", "00"});
    SetNibbles(table, 4, {"00", "00", "00", "00", "00", "00", "0a", "00"});  // lower case is 0
    SetNibbles(table, 5, {"  ", "  ", "  ", "  ", "  ", "  ", "  ", "  "});  // cleared
    for (int c = 0; c < 4; ++c) {
        table.SetCell(c, 1, "old");
    }
    BackCalculateNFactors(table);
    EXPECT_EQ(Columns0To3(table, 1), (std::vector<std::string>{"798300", "120", "114", "3"}));
    EXPECT_EQ(Columns0To3(table, 2), (std::vector<std::string>{"26214387", "127", "127", "127"}));
    EXPECT_EQ(Columns0To3(table, 3), (std::vector<std::string>{"12", "1", "0", "0"}));
    EXPECT_EQ(Columns0To3(table, 4), (std::vector<std::string>{"0", "0", "0", "0"}));
    for (int r = 5; r <= 16; ++r) {
        EXPECT_EQ(Columns0To3(table, r), (std::vector<std::string>{"0", "0", "0", "0"}));
    }
    EXPECT_EQ(table.Cell(0, 0), "Frequenz");
    EXPECT_EQ(table.Cell(4, 1), "xx");
}

TEST(BackCalculation, WritesColumnsOneTwoThreeThenZero) {
    ChannelTable table;
    RecordingObserver view;
    table.SetObserver(&view);
    BackCalculateNFactors(table);
    ASSERT_EQ(view.changes.size(), 64U);
    EXPECT_EQ(view.changes[0], std::make_pair(1, 1));
    EXPECT_EQ(view.changes[3], std::make_pair(0, 1));
    EXPECT_EQ(view.changes[63], std::make_pair(0, 16));
}

TEST(BackCalculation, NibbleValues) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"00", 0}, {"07", 7}, {"08", 8}, {"0F", 15}, {"0f", 0}, {"F", 0}, {"", 0}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(LowNibbleValue(text), value) << text;
        // As a high nibble (D2 of N0) it counts (value AND 7) * 16: bit 3 is a flag, not N.
        ChannelTable table;
        SetNibbles(table, 1, {"00", "00", "00", "00", "00", text, "00", "00"});
        BackCalculateNFactors(table);
        EXPECT_EQ(table.Cell(1, 1), std::to_string((value & 7) * 16)) << text;
    }
}

}  // namespace
}  // namespace vx40
