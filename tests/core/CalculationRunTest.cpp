// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/CalculationRun.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "base/RuntimeFailure.h"

namespace vx40 {
namespace {

std::vector<std::string> Row(const ChannelTable& table, int row) {
    std::vector<std::string> cells;
    for (int column = 1; column < kColumnCount; ++column) {
        cells.push_back(table.Cell(column, row));
    }
    return cells;
}

// A failing prescaler or division stops the run before the frequency field is read (its read
// may rewrite the field or beep) and before the kept codes or any cell change.
TEST(CalculationRun, PrescalerFailuresComeBeforeTheFrequencyIsReadAndChangeNothing) {
    struct Case {
        const char* r0;
        const char* r2;
        std::string report;
    };
    const Case cases[] = {{"x", "2", "'x' is not a valid integer value"},
                          {"13", "0", "Division by zero"}};
    for (const Case& c : cases) {
        ChannelTable table;
        SelectionCodes kept;
        int reads = 0;
        CalculationFields fields;
        fields.r0Text = c.r0;
        fields.r1Text = "5";
        fields.r2Text = c.r2;
        fields.readFrequencyKhz = [&] {
            ++reads;
            return 798300;
        };
        try {
            StartCalculation(table, kept, fields);
            ADD_FAILURE() << c.report;
        } catch (const RuntimeFailure& failure) {
            EXPECT_EQ(failure.what(), c.report);
        }
        EXPECT_EQ(reads, 0) << c.report;
        EXPECT_EQ(kept, SelectionCodes{}) << c.report;
        EXPECT_EQ(Row(table, 1), std::vector<std::string>(kColumnCount - 1)) << c.report;
    }
}

// A refusal leaves the data nibbles as they were until its message has been shown.
TEST(CalculationRun, PartsFirstThenTheMessageThenTheNibbles) {
    struct Case {
        std::int32_t frequencyKhz;
        std::optional<std::string> message;
        std::vector<std::string> parts;
        std::vector<std::string> nibbles;
    };
    const std::vector<std::string> previous(8, "07");
    const Case cases[] = {
        {798300,
         std::nullopt,
         {"120", "114", "3"},
         {"05", "08", "03", "07", "02", "07", "08", "04"}},
        {798301, "Frequenz nicht berechenbar", {" ", " ", " "}, std::vector<std::string>(8, "0F")}};
    for (const Case& c : cases) {
        ChannelTable table;
        table.SetCurrentCell(0, 3);
        for (int column = 4; column < kColumnCount; ++column) {
            table.SetCell(column, 3, "07");
        }
        SelectionCodes kept;
        CalculationFields fields;
        fields.r0Text = "12";
        fields.r1Text = "5";
        fields.r2Text = "2";
        fields.readFrequencyKhz = [&] { return c.frequencyKhz; };
        const CalculationRun run = StartCalculation(table, kept, fields);
        EXPECT_EQ(run.overallText, "12500");
        EXPECT_EQ(run.row, 3);
        EXPECT_EQ(run.message, c.message);
        EXPECT_EQ(kept.r2Code, 4);
        std::vector<std::string> expected = c.parts;
        expected.insert(expected.end(), previous.begin(), previous.end());
        EXPECT_EQ(Row(table, 3), expected) << c.frequencyKhz;
        FinishCalculation(table, run);
        expected.resize(3);
        expected.insert(expected.end(), c.nibbles.begin(), c.nibbles.end());
        EXPECT_EQ(Row(table, 3), expected) << c.frequencyKhz;
    }
}

}  // namespace
}  // namespace vx40
