// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "FieldCases.h"
#include "text/CrystalFieldRules.h"
#include "text/FrequencyFieldRules.h"
#include "text/ItemCompletion.h"

namespace vx40 {
namespace {

std::vector<CaseRow> FrequencyKeyCases() {
    return ReadCaseTable(VX40_TEST_DATA_DIR "/frequency-keys.tsv");
}

class FrequencyKeyRuleTest : public testing::TestWithParam<CaseRow> {};

TEST_P(FrequencyKeyRuleTest, FiltersTypedCharacters) {
    const CaseRow& c = GetParam();
    const FieldState field = ParseField(c.at("field"));
    const std::string& key = c.at("key");
    const FieldKey kind = key == "<Enter>"       ? FieldKey::Enter
                          : key == "<Backspace>" ? FieldKey::Erase
                                                 : FieldKey::Text;
    switch (FrequencyFieldAnswer(kind)) {
        case KeyAnswer::Rule: {
            const FieldEdit edit = TypeIntoFrequencyField(field, key == "<Space>" ? " " : key);
            EXPECT_EQ(ShowField(edit.after), c.at("after"));
            EXPECT_EQ(edit.beep, c.at("beeps") == "1");
            break;
        }
        case KeyAnswer::Beep:
            EXPECT_EQ(c.at("field"), c.at("after"));
            EXPECT_EQ(c.at("beeps"), "1");
            break;
        default:
            // Backspace is the field's own editing; the window test checks what it does.
            EXPECT_EQ(kind, FieldKey::Erase);
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, FrequencyKeyRuleTest, testing::ValuesIn(FrequencyKeyCases()),
                         [](const testing::TestParamInfo<CaseRow>& param) {
                             return param.param.at("name");
                         });

TEST(FrequencyKeyRule, TypesOneCharacterOnly) {
    for (const char* typed : {"12", "\xC3\xA4", "\xF0\x9F\x98\x80", ""}) {
        const FieldEdit edit = TypeIntoFrequencyField(ParseField("1|"), typed);
        EXPECT_TRUE(edit.beep) << typed;
        EXPECT_FALSE(edit.changes) << typed;
    }
}

struct PasteCase {
    const char* field;
    const char* pasted;
    bool keepSelection;
    const char* after;
};

TEST(FrequencyPasteRule, PastesTheFirstLineAsFarAsSixCharacters) {
    const PasteCase cases[] = {
        {"12|", "34567", false, "123456|"},
        {"1[23]4", "abcdef", false, "1abcd|4"},
        {"[798,300]", "4295765596", false, "429576|"},
        {"123456|", "7", false, "123456|"},
        {"|", "12\r\n34", false, "12|"},
        {"|", "\n12", false, "|"},
        // a middle click: the selection clipboard goes in at the caret, the selection is dropped
        {"1[23]", "9", true, "1239|"},
        {"1|[23]", "9", true, "19|23"},
        // counted in UTF-16 code units, never half a character
        {"1234|", "5\xF0\x9F\x98\x80", false, "12345|"},
        {"123|",
         "\xF0\x9F\x98\x80"
         "9",
         false,
         "123\xF0\x9F\x98\x80"
         "9|"},
    };
    for (const PasteCase& c : cases) {
        const FieldEdit edit =
            PasteIntoFrequencyField(ParseField(c.field), c.pasted, c.keepSelection);
        EXPECT_EQ(ShowField(edit.after), c.after) << c.field << " + " << c.pasted;
        EXPECT_FALSE(edit.beep);
    }
}

TEST(CrystalFieldRule, RefusesEveryChange) {
    const std::pair<FieldKey, KeyAnswer> cases[] = {
        {FieldKey::Step, KeyAnswer::Beep},  {FieldKey::Text, KeyAnswer::Beep},
        {FieldKey::Erase, KeyAnswer::Beep}, {FieldKey::Paste, KeyAnswer::Ignore},
        {FieldKey::Cut, KeyAnswer::Ignore}, {FieldKey::Enter, KeyAnswer::Own},
        {FieldKey::Other, KeyAnswer::Own},
    };
    for (const auto& [key, answer] : cases) {
        EXPECT_EQ(CrystalFieldAnswer(key), answer) << static_cast<int>(key);
    }
}

struct CompletionCase {
    const char* field;
    const char* typed;
    const char* after;  // empty: no item starts so, the field types as usual
};

TEST(ItemCompletionRule, CompletesTheTextBeforeTheSelection) {
    const std::vector<std::string> items = {"12", "13", "14", "15", "Ab", "AB7", "9"};
    const CompletionCase cases[] = {
        {"[12]", "1", "1|[2]"}, {"1|2", "4", "14|"}, {"[12]", "9", "9|"}, {"[12]", "7", ""},
        {"1[2]", "3", "13|"},   {"|5", "9", "9|"},   {"a|", "b", "Ab|"},  {"[x]", "a", "A|[b]"},
        {"ab|", "7", "AB7|"},   {"12|", "5", ""},    {"|", "", "|[12]"},
    };
    for (const CompletionCase& c : cases) {
        const std::optional<FieldEdit> edit =
            CompleteFromItems(ParseField(c.field), c.typed, items);
        EXPECT_EQ(edit ? ShowField(edit->after) : "", c.after) << c.field << " + " << c.typed;
    }
}

}  // namespace
}  // namespace vx40
