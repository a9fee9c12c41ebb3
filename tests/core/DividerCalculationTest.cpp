// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/DividerCalculation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/RuntimeFailure.h"
#include "channel/CalculatedRow.h"
#include "channel/NFactorBackCalculation.h"

namespace vx40 {
namespace {

using Cells = std::vector<std::string>;

// Columns 1 to 11 of a row.
Cells RowCells(const ChannelTable& table, int row) {
    Cells cells;
    for (int c = 1; c < kColumnCount; ++c) {
        cells.push_back(table.Cell(c, row));
    }
    return cells;
}

struct PrescalerTexts {
    std::string r0{kR0StartText};
    std::string r1{kR1StartText};
    std::string r2{kR2StartText};
};

// The prescalers of a run as the window takes them from its fields: the kept codes change only
// once the texts have converted and the ratio has been divided out.
PrescalerSettings ReadPrescalers(const PrescalerTexts& texts, SelectionCodes& kept,
                                 std::int32_t crystalHz = kCrystalHz) {
    const PrescalerSettings settings = ReadPrescalerTexts(texts.r0, texts.r1, texts.r2, kept);
    static_cast<void>(CalculateRatio(crystalHz, settings));
    kept = settings.codes;
    return settings;
}

CalculationInputs InputsOf(const PrescalerTexts& texts, SelectionCodes& kept) {
    CalculationInputs inputs;
    inputs.prescalers = ReadPrescalers(texts, kept);
    return inputs;
}

void Apply(ChannelTable& table, int row, const CalculationInputs& inputs) {
    WriteCalculatedRow(table, row, CalculatedRowTexts(CalculateDividerWord(inputs).word));
}

struct CalculatedTableRow {
    std::int32_t ratio = 0;
    bool refused = false;
    ChannelTable table;
};

CalculatedTableRow Calculate(const CalculationInputs& inputs, int row = 1) {
    CalculatedTableRow run;
    run.table.SetCurrentCell(0, row);
    const CalculationResult result = CalculateDividerWord(inputs);
    run.ratio = result.ratio;
    run.refused = !result.word;
    WriteCalculatedRow(run.table, row, CalculatedRowTexts(result.word));
    return run;
}

TEST(DividerCalculation, DefaultSettingsGiveTheWorkedChannel) {
    SelectionCodes kept;
    const CalculatedTableRow run = Calculate(InputsOf({}, kept));
    EXPECT_EQ(run.ratio, 12500);
    EXPECT_EQ(RowCells(run.table, 1),
              (Cells{"120", "114", "3", "05", "08", "03", "07", "02", "07", "08", "04"}));
    EXPECT_EQ(run.table.Cell(0, 1), "");
    EXPECT_FALSE(run.refused);
    EXPECT_EQ(kept, (SelectionCodes{0, 0, 1, 4}));
    EXPECT_EQ(CalculationInputs{}.prescalers.codes, kept);
}

TEST(DividerCalculation, HighestPrescalersWithoutModulatorInTestMode) {
    SelectionCodes kept;
    CalculationInputs inputs = InputsOf({"15", "7", "8"}, kept);
    inputs.frequencyKhz = 714357;
    inputs.modulator = false;
    inputs.test = true;
    const CalculatedTableRow run = Calculate(inputs, 7);
    EXPECT_EQ(run.ratio, 1785);
    EXPECT_EQ(RowCells(run.table, 7),
              (Cells{"72", "54", "24", "0F", "01", "08", "0B", "06", "0C", "08", "00"}));
    EXPECT_EQ(kept, (SelectionCodes{128, 128, 3, 12}));
}

TEST(DividerCalculation, SelectBitsOfEachR0Entry) {
    const std::vector<std::pair<std::string, SelectionCodes>> cases = {{"12", {0, 0, 1, 4}},
                                                                       {"13", {128, 0, 1, 4}},
                                                                       {"14", {0, 128, 1, 4}},
                                                                       {"15", {128, 128, 1, 4}}};
    for (const auto& [text, codes] : cases) {
        SelectionCodes kept;
        ReadPrescalers({text}, kept);
        EXPECT_EQ(kept, codes) << text;
    }
}

// Each of these frequencies has no N factor with every part in range.
struct RefusalCase {
    const char* why;
    std::string r0Text;
    std::string r1Text;
    std::int32_t frequencyKhz;
    std::int32_t ratio;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.why;
}

class Refusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, BlanksTheParts_ShowsTheMessage_ThenFillsTheNibblesWith0F) {
    const RefusalCase& c = GetParam();
    SelectionCodes kept;
    CalculationInputs inputs = InputsOf({c.r0Text, c.r1Text}, kept);
    inputs.frequencyKhz = c.frequencyKhz;
    ChannelTable table;
    table.SetCell(0, 3, "keep");
    for (int col = 1; col < kColumnCount; ++col) {
        table.SetCell(col, 3, "old");
    }
    const CalculationResult result = CalculateDividerWord(inputs);
    ASSERT_FALSE(result.word) << c.why;
    EXPECT_EQ(result.word.Error().kind, FailureKind::NotCalculable);
    EXPECT_EQ(CalculationFailureText(result.word.Error()), "Frequenz nicht berechenbar");
    EXPECT_EQ(result.ratio, c.ratio) << c.why;

    // The window shows the message between the parts and the data nibbles.
    const CalculatedRow texts = CalculatedRowTexts(result.word);
    WriteRowParts(table, 3, texts);
    const Cells atMessage = RowCells(table, 3);
    WriteRowNibbles(table, 3, texts);
    EXPECT_EQ(atMessage,
              (Cells{" ", " ", " ", "old", "old", "old", "old", "old", "old", "old", "old"}))
        << c.why;
    EXPECT_EQ(RowCells(table, 3),
              (Cells{" ", " ", " ", "0F", "0F", "0F", "0F", "0F", "0F", "0F", "0F"}))
        << c.why;
    EXPECT_EQ(table.Cell(0, 3), "keep");
}

INSTANTIATE_TEST_SUITE_P(
    Frequencies, Refusal,
    testing::Values(
        RefusalCase{"N = 499 * 128 ends the third search at N0 = 128", "12", "5", 798400, 12500},
        RefusalCase{"not a multiple of 12500 Hz", "12", "5", 798305, 12500},
        RefusalCase{"frequency 0", "12", "5", 0, 12500},
        RefusalCase{"negative frequency", "12", "5", -798300, 12500},
        RefusalCase{"R0 400: N2 would be 129", "400", "5", 798300, 375},
        RefusalCase{"N of 2097152 and more is out of range", "12", "5", 26214400, 12500},
        // These searches never end when counted without a bound.
        RefusalCase{"ratio 0", "400000", "5", 798300, 0},
        RefusalCase{"negative ratio", "12", "-5", 798300, -12500},
        RefusalCase{"ratio 0 with frequency 0 is no channel", "400000", "5", 0, 0},
        RefusalCase{"negative ratio and negative frequency", "12", "-5", -798300, -12500},
        // 537669212 * 1000 wraps in 32 bits to 798300000, the default channel's target.
        RefusalCase{"a wrapped frequency must not hit", "12", "5", 537669212, 12500}));

TEST(DividerCalculation, LargestChannelsInRangeAreHit) {
    CalculationInputs inputs;
    inputs.frequencyKhz = 26214387;  // not whole: N 2097151 is 26214387.5 kHz
    EXPECT_FALSE(CalculateDividerWord(inputs).word);
    inputs.frequencyKhz = 26214375;  // N = 2097150 = 127 * 16384 + 127 * 128 + 126
    const auto result = CalculateDividerWord(inputs);
    ASSERT_TRUE(result.word);
    EXPECT_EQ(result.word->parts.n2, 127);
    EXPECT_EQ(result.word->parts.n1, 127);
    EXPECT_EQ(result.word->parts.n0, 126);
}

TEST(DividerCalculation, KeptCodesSurviveTextsOutsideTheLists) {
    SelectionCodes kept;
    // First run: no R2 entry matches, the code stays 0.
    ReadPrescalers({"12", "5", "3"}, kept);
    EXPECT_EQ(kept, (SelectionCodes{0, 0, 1, 0}));

    ReadPrescalers({"15", "7", "8"}, kept);
    EXPECT_EQ(kept, (SelectionCodes{128, 128, 3, 12}));

    // A blank before 13 converts to 13 for the ratio but matches no entry.
    EXPECT_THROW(ReadPrescalers({" 13", "7 ", "x"}, kept), ConversionFailure);
    const CalculationInputs inputs = InputsOf({" 13", "+7", "$8"}, kept);
    EXPECT_EQ(CalculateDividerWord(inputs).ratio, 2060);  // 1500000 / 13 / 7 / 8
    EXPECT_EQ(inputs.prescalers.r0, 13);
    EXPECT_EQ(kept, (SelectionCodes{128, 128, 3, 12}));
}

TEST(DividerCalculation, ABlankBefore13KeepsTheStartCodes) {
    SelectionCodes kept;
    const auto result = CalculateDividerWord(InputsOf({" 13"}, kept));
    EXPECT_EQ(result.ratio, 11538);
    EXPECT_EQ(kept.n0SelectBit, 0);
    EXPECT_EQ(kept.n1SelectBit, 0);
}

TEST(DividerCalculation, FailuresChangeNothing) {
    SelectionCodes kept{128, 0, 2, 8};
    PrescalerTexts texts{"13", "x"};
    try {
        ReadPrescalers(texts, kept);
        FAIL() << "no failure raised";
    } catch (const ConversionFailure& failure) {
        EXPECT_STREQ(failure.what(), "'x' is not a valid integer value");
    }
    EXPECT_EQ(kept, (SelectionCodes{128, 0, 2, 8}));

    // The first bad text is named: R0 before R1 before R2.
    texts.r0 = "a";
    texts.r2 = "b";
    try {
        ReadPrescalers(texts, kept);
    } catch (const ConversionFailure& failure) {
        EXPECT_STREQ(failure.what(), "'a' is not a valid integer value");
    }

    for (const auto& zero : {"0", "$0", "-0"}) {
        try {
            ReadPrescalers({"12", "5", zero}, kept);
            FAIL() << "no failure raised for " << zero;
        } catch (const DivisionFailure& failure) {
            EXPECT_STREQ(failure.what(), "Division by zero");
        }
    }
    EXPECT_EQ(kept, (SelectionCodes{128, 0, 2, 8}));
}

TEST(DividerCalculation, ARefusalAfterASuccessReplacesTheRow) {
    ChannelTable table;
    CalculationInputs inputs;
    Apply(table, 2, inputs);
    inputs.frequencyKhz = 798312;
    Apply(table, 2, inputs);
    EXPECT_EQ(RowCells(table, 2),
              (Cells{" ", " ", " ", "0F", "0F", "0F", "0F", "0F", "0F", "0F", "0F"}));
    inputs.frequencyKhz = 145000;  // N = 11600 = 0 * 16384 + 90 * 128 + 80
    Apply(table, 2, inputs);
    EXPECT_EQ(RowCells(table, 2),
              (Cells{"80", "90", "0", "05", "08", "00", "05", "0A", "05", "00", "04"}));
}

// The view sees the cells change in the order the window has always written them.
TEST(DividerCalculation, WritesTheRowInTheWindowsOrder) {
    struct Recorder : ChannelTableObserver {
        std::vector<int> columns;
        void CellChanged(int column, int /*row*/) override { columns.push_back(column); }
        void RepaintNow() override {}
    };
    const std::vector<std::pair<std::int32_t, std::vector<int>>> cases = {
        {798300, {3, 2, 1, 11, 10, 9, 8, 7, 6, 5, 4}},  // N2, N1, N0, then D0 up to D7
        {798400, {3, 2, 1, 4, 5, 6, 7, 8, 9, 10, 11}},  // blanks, then "0F" from D7 to D0
    };
    for (const auto& [khz, order] : cases) {
        ChannelTable table;
        Recorder recorder;
        table.SetObserver(&recorder);
        CalculationInputs inputs;
        inputs.frequencyKhz = khz;
        Apply(table, 5, inputs);
        EXPECT_EQ(recorder.columns, order) << khz;
    }
}

TEST(DividerCalculation, EveryHitComesBackFromTheBackCalculation) {
    // Every N0 from 1 to 127 and a spread of N1 and N2, on the default 12500 Hz step.
    CalculationInputs inputs;
    int checked = 0;
    for (std::int32_t n2 = 0; n2 <= 127; n2 += 9) {
        for (std::int32_t n1 = 0; n1 <= 127; n1 += 7) {
            for (std::int32_t n0 = 1; n0 <= 127; n0 += 3) {
                const std::int32_t n = n2 * 16384 + n1 * 128 + n0;
                if (n % 2 != 0) {
                    continue;  // odd N is 12.5 kHz off a whole kHz
                }
                inputs.frequencyKhz = n / 2 * 25;
                ChannelTable table;
                Apply(table, 4, inputs);
                const Cells computed = RowCells(table, 4);
                BackCalculateNFactors(table);
                ASSERT_EQ(RowCells(table, 4), computed) << inputs.frequencyKhz;
                ASSERT_EQ(table.Cell(0, 4), std::to_string(inputs.frequencyKhz));
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 500);
}

TEST(DividerCalculation, BackCalculationIgnoresTheFlagBits) {
    // Select bits and modulator ride in bit 3 of D2, D4 and D6 and must not change N.
    SelectionCodes kept;
    for (const char* r0 : {"12", "13", "14", "15"}) {
        for (bool modulator : {false, true}) {
            CalculationInputs inputs = InputsOf({r0, "9", "1"}, kept);
            inputs.modulator = modulator;
            // N = 1000 = 7 * 128 + 104 hits ratio * 1000 Hz, a whole kHz for any ratio
            inputs.frequencyKhz = CalculateRatio(inputs.crystalHz, inputs.prescalers);
            const auto result = CalculateDividerWord(inputs);
            ASSERT_TRUE(result.word) << r0;
            ChannelTable table;
            WriteCalculatedRow(table, 1, CalculatedRowTexts(result.word));
            const Cells parts = {table.Cell(1, 1), table.Cell(2, 1), table.Cell(3, 1)};
            BackCalculateNFactors(table);
            EXPECT_EQ((Cells{table.Cell(1, 1), table.Cell(2, 1), table.Cell(3, 1)}), parts) << r0;
        }
    }
}

TEST(NearestAchievable, NamesTheClosestWholeKhzChannels) {
    const auto multiple = NearestAchievableFrequencies(12500, 798400);  // N0 would be 128
    EXPECT_EQ(multiple.below, 798375);
    EXPECT_EQ(multiple.above, 798425);
    const auto offGrid = NearestAchievableFrequencies(12500, 798305);
    EXPECT_EQ(offGrid.below, 798300);
    EXPECT_EQ(offGrid.above, 798325);
    const auto atZero = NearestAchievableFrequencies(12500, 0);
    EXPECT_FALSE(atZero.below);
    EXPECT_EQ(atZero.above, 25);
    const auto beyond = NearestAchievableFrequencies(12500, 30000000);
    EXPECT_EQ(beyond.below, 26214375);
    EXPECT_FALSE(beyond.above);
    EXPECT_FALSE(NearestAchievableFrequencies(0, 798300).below);
}

}  // namespace
}  // namespace vx40
