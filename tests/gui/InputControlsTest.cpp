// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtTest/qtestspontaneevent.h>
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include "WindowFixture.h"
#include "app/CrystalSpinEdit.h"
#include "app/FrequencyEdit.h"
#include "app/TypedText.h"
#include "core/FieldCases.h"

namespace vx40 {
namespace {

QLocale German() {
    return QLocale(QLocale::German, QLocale::Germany);
}

// What the frequency field reads: its text is set as if pasted, a click in row 1 takes its
// integer value into the table, and leaving the field afterwards formats it.
struct ReadingCase {
    const char* name;
    bool german;
    const char* text;
    const char* pickedUp;  // the decimal text written into cell (0, 1)
    int beeps;             // while reading
    const char* textAfterRead;
    const char* formatted;  // after the field gained and lost the focus
};
void PrintTo(const ReadingCase& c, std::ostream* os) {
    *os << c.name;
}

class FrequencyReadingTest : public WindowFixture, public testing::WithParamInterface<ReadingCase> {
  protected:
    void SetUp() override { OpenWindow(GetParam().german ? German() : QLocale::c()); }
};

TEST_P(FrequencyReadingTest, ReadsTheTextWithTheLocalesSeparators) {
    const ReadingCase& c = GetParam();
    auto* field = Find<FrequencyEdit>("FR_Input");
    field->setText(QString::fromUtf8(c.text));
    ClickCell(0, 1);
    EXPECT_EQ(Cell(0, 1), c.pickedUp);
    EXPECT_EQ(Beeps(), c.beeps);
    EXPECT_EQ(field->text(), QString::fromUtf8(c.textAfterRead));
    FocusByKeyboard(field);
    FocusByKeyboard(Find<QWidget>("Quarz"));
    EXPECT_EQ(field->text(), QString::fromUtf8(c.formatted));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FrequencyReadingTest,
    testing::Values(
        ReadingCase{"Grouped", false, "798,300", "798300", 0, "798,300", "798,300"},
        ReadingCase{"Plain", false, "1234567", "1234567", 0, "1234567", "1,234,567"},
        ReadingCase{"Empty", false, "", "0", 0, "0", "0"},
        ReadingCase{"Parentheses", false, "(5)", "-5", 0, "(5)", "(5)"},
        ReadingCase{"MinusBehind", false, "5-", "-5", 0, "5-", "(5)"},
        ReadingCase{"HalfToEven", false, "2.5", "2", 0, "2.5", "3"},
        ReadingCase{"HalfUp", false, "3.5", "4", 0, "3.5", "4"},
        ReadingCase{"Letters", false, "abc", "0", 1, "abc", "0"},
        ReadingCase{"TwoSeparators", false, "1.2.3", "0", 1, "1.2.3", "0"},
        ReadingCase{"Int32Max", false, "2147483647", "2147483647", 0, "2147483647",
                    "2,147,483,647"},
        ReadingCase{"Int32Min", false, "-2147483648", "-2147483648", 0, "-2147483648",
                    "(2,147,483,648)"},
        // Beyond 32 bits a value must not wrap: 2^32 + 798300 is no channel of 798300.
        ReadingCase{"WrapsTo798300", false, "4295765596", "0", 1, "4295765596", "0"},
        ReadingCase{"BelowInt32Min", false, "-2147483649", "0", 1, "-2147483649", "0"},
        ReadingCase{"GermanGrouped", true, "798.300", "798300", 0, "798.300", "798.300"},
        ReadingCase{"GermanHalf", true, "2,5", "2", 0, "2,5", "3"},
        ReadingCase{"GermanComma", true, "798,300", "798", 0, "798,300", "798"},
        ReadingCase{"GermanTwoSeparators", true, "1,2,3", "0", 1, "1,2,3", "0"},
        ReadingCase{"GermanNegative", true, "(1.234)", "-1234", 0, "(1.234)", "(1.234)"}),
    [](const testing::TestParamInfo<ReadingCase>& param) { return param.param.name; });

TEST(FrequencyEditStart, ShowsItsStartValueWithTheLocalesGroupSeparator) {
    for (const auto& [locale, shown] :
         {std::pair{QLocale::c(), "798,300"}, std::pair{German(), "798.300"}}) {
        QLocale::setDefault(locale);
        TForm1 form;
        EXPECT_EQ(form.findChild<FrequencyEdit*>("FR_Input")->text(), shown);
    }
    QLocale::setDefault(QLocale::c());
}

// The key rules' cases are shared with the core test of the rules (tests/data).
class FrequencyKeyTest : public WindowFixture, public testing::WithParamInterface<CaseRow> {
  protected:
    void SetUp() override {
        OpenWindow(GetParam().at("german") == "yes" ? German() : QLocale::c());
    }
};

TEST_P(FrequencyKeyTest, FiltersTypedCharacters) {
    const CaseRow& c = GetParam();
    auto* field = Find<FrequencyEdit>("FR_Input");
    FocusByKeyboard(field);
    const int beepsBefore = Beeps();
    const FieldState before = ParseField(c.at("field"));
    field->setText(QString::fromStdString(before.text));
    if (before.selectionLength > 0) {
        const int start = static_cast<int>(before.selectionStart);
        const int length = static_cast<int>(before.selectionLength);
        const bool caretAtStart = before.caret == before.selectionStart;
        field->setSelection(caretAtStart ? start + length : start, caretAtStart ? -length : length);
    } else {
        field->setCursorPosition(static_cast<int>(before.caret));
    }
    const std::string& key = c.at("key");
    if (key == "<Enter>") {
        QTest::keyClick(field, Qt::Key_Return);
    } else if (key == "<Backspace>") {
        QTest::keyClick(field, Qt::Key_Backspace);
    } else {
        QTest::keyClick(field, key == "<Space>" ? ' ' : key.front());
    }
    EXPECT_EQ(ShowField(FieldStateOf(*field)), c.at("after"));
    EXPECT_EQ(Beeps() - beepsBefore, std::stoi(c.at("beeps")));
}

INSTANTIATE_TEST_SUITE_P(Keys, FrequencyKeyTest,
                         testing::ValuesIn(ReadCaseTable(VX40_TEST_DATA_DIR "/frequency-keys.tsv")),
                         [](const testing::TestParamInfo<CaseRow>& param) {
                             return param.param.at("name");
                         });

class FrequencyEditTest : public WindowFixture {};

TEST_F(FrequencyEditTest, KeyboardEntrySelectsTheWholeTextAndAMouseClickOnlyPlacesTheCaret) {
    auto* field = Find<FrequencyEdit>("FR_Input");
    FocusByKeyboard(Find<QLineEdit>("Overall"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), field);
    EXPECT_EQ(field->selectedText(), "798,300");

    FocusByKeyboard(Find<QWidget>("Quarz"));
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() - 6, field->height() / 2));
    EXPECT_EQ(QApplication::focusWidget(), field);
    EXPECT_FALSE(field->hasSelectedText());
}

TEST_F(FrequencyEditTest, AMinusTypedAtTheStartShowsInParenthesesAfterLeaving) {
    auto* field = Find<FrequencyEdit>("FR_Input");
    FocusByKeyboard(field);
    field->setText("5");
    field->setCursorPosition(0);
    QTest::keyClick(field, '-');
    FocusByKeyboard(Find<QWidget>("Quarz"));
    EXPECT_EQ(field->text(), "(5)");
    EXPECT_EQ(Beeps(), 0);
}

TEST_F(FrequencyEditTest, PastingStopsAtSixCharactersAndIsNotFiltered) {
    auto* field = Find<FrequencyEdit>("FR_Input");
    FocusByKeyboard(field);
    QGuiApplication::clipboard()->setText("4295765596");
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), "429576");

    field->setText("12");
    field->end(false);
    QGuiApplication::clipboard()->setText("x9y8z7");
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(field->text(), "12x9y8");
    EXPECT_EQ(Beeps(), 0);
    EXPECT_EQ(field->IntegerValue(), 1298);
}

TEST_F(FrequencyEditTest, TheContextMenuPastesWithinTheLimitToo) {
    auto* field = Find<FrequencyEdit>("FR_Input");
    FocusByKeyboard(field);
    QGuiApplication::clipboard()->setText("4295765596");
    bool pasted = false;
    QTimer::singleShot(0, [&pasted] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        for (QAction* item : menu->actions()) {
            if (item->text().startsWith("&Paste")) {
                item->trigger();
                pasted = true;
            }
        }
        menu->close();
    });
    // Should the menu not be found, it must still not wait for a user.
    QTimer::singleShot(2000, [] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            field->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(field, &event);
    EXPECT_TRUE(pasted);
    EXPECT_EQ(field->text(), "429576");
}

struct QuarzCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int beeps;
};
void PrintTo(const QuarzCase& c, std::ostream* os) {
    *os << c.name;
}

class CrystalKeyTest : public WindowFixture, public testing::WithParamInterface<QuarzCase> {};

TEST_P(CrystalKeyTest, RefusesEveryChange) {
    const QuarzCase& c = GetParam();
    auto* quarz = Find<CrystalSpinEdit>("Quarz");
    FocusByKeyboard(quarz);
    QGuiApplication::clipboard()->setText("7");
    quarz->findChild<QLineEdit*>()->setCursorPosition(3);
    QTest::keyClick(quarz, c.key, c.modifiers);
    EXPECT_EQ(Beeps(), c.beeps);
    EXPECT_EQ(quarz->text(), "6000000");
    EXPECT_EQ(quarz->value(), 6000000);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CrystalKeyTest,
    testing::Values(QuarzCase{"Up", Qt::Key_Up, {}, 1}, QuarzCase{"Down", Qt::Key_Down, {}, 1},
                    QuarzCase{"PageUp", Qt::Key_PageUp, {}, 1},
                    QuarzCase{"PageDown", Qt::Key_PageDown, {}, 1},
                    QuarzCase{"Digit", Qt::Key_5, {}, 1}, QuarzCase{"Letter", Qt::Key_A, {}, 1},
                    QuarzCase{"Backspace", Qt::Key_Backspace, {}, 1},
                    QuarzCase{"Delete", Qt::Key_Delete, {}, 1},
                    QuarzCase{"Paste", Qt::Key_V, Qt::ControlModifier, 0},
                    QuarzCase{"Cut", Qt::Key_X, Qt::ControlModifier, 0}),
    [](const testing::TestParamInfo<QuarzCase>& param) { return param.param.name; });

class CrystalSpinEditTest : public WindowFixture {};

TEST_F(CrystalSpinEditTest, SpinButtonsAndTheWheelOnlyBeep) {
    auto* quarz = Find<CrystalSpinEdit>("Quarz");
    QTest::mouseClick(quarz, Qt::LeftButton, {}, QPoint(quarz->width() - 5, 4));
    QTest::mouseClick(quarz, Qt::LeftButton, {}, QPoint(quarz->width() - 5, quarz->height() - 4));
    QWheelEvent wheel(QPointF(10, 10), quarz->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(quarz, &wheel);
    EXPECT_EQ(Beeps(), 3);
    EXPECT_EQ(quarz->value(), 6000000);
}

TEST_F(CrystalSpinEditTest, TheTextCanBeSelectedAndCopied) {
    auto* quarz = Find<CrystalSpinEdit>("Quarz");
    FocusByKeyboard(quarz);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(quarz, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(quarz, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "6000000");
    EXPECT_EQ(Beeps(), 0);
    FocusByKeyboard(Find<QWidget>("R0_INPUT"));
    EXPECT_EQ(quarz->text(), "6000000");
}

struct CompletionCase {
    const char* combo;
    char typed;
    const char* text;
    const char* selected;
};
void PrintTo(const CompletionCase& c, std::ostream* os) {
    *os << c.combo << " " << c.typed;
}

class ComboCompletionTest : public WindowFixture,
                            public testing::WithParamInterface<CompletionCase> {};

TEST_P(ComboCompletionTest, CompletesTheTypedStartOfAnItem) {
    const CompletionCase& c = GetParam();
    auto* combo = Find<QComboBox>(c.combo);
    FocusByKeyboard(combo);
    ASSERT_EQ(combo->lineEdit()->selectedText(), combo->currentText());
    QTest::keyClick(combo->lineEdit(), c.typed);
    EXPECT_EQ(combo->currentText(), c.text);
    EXPECT_EQ(combo->lineEdit()->selectedText(), c.selected);
    EXPECT_EQ(Beeps(), 0);
}

INSTANTIATE_TEST_SUITE_P(Items, ComboCompletionTest,
                         testing::Values(CompletionCase{"R0_INPUT", '1', "12", "2"},
                                         CompletionCase{"R0_INPUT", '9', "9", ""},
                                         CompletionCase{"R1_Input", '7', "7", ""},
                                         CompletionCase{"R2_Input", '3', "3", ""}));

// Characters that reach the frequency field other than as plain keys: chords with Alt or Meta
// (Qt types their character), the commits of an input method, and drops.
enum class Way { Chord, Commit, Drop };
struct ChordCase {
    const char* name;
    const char* text;  // caret at the end
    Way way;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* sent;  // committed or dropped
    const char* result;
    int beeps;
};

TEST_F(FrequencyEditTest, ChordsCommitsAndDropsPassTheSameFilter) {
    const ChordCase cases[] = {
        {"AltLetter", "123", Way::Chord, Qt::Key_X, Qt::AltModifier, "", "123", 1},
        {"MetaLetter", "123", Way::Chord, Qt::Key_Q, Qt::MetaModifier, "", "123", 1},
        {"AltMinusBehindADigit", "123", Way::Chord, Qt::Key_Minus, Qt::AltModifier, "", "123", 1},
        {"AltDigit", "123", Way::Chord, Qt::Key_4, Qt::AltModifier, "", "1234", 0},
        {"CommitOfRefusedCharacters", "123456", Way::Commit, {}, {}, "xy,9", "123456", 3},
        {"CommitUpToSix", "1234", Way::Commit, {}, {}, "5x67", "123456", 1},
        {"Drop", "123", Way::Drop, {}, {}, "4", "123", 1},
    };
    auto* field = Find<FrequencyEdit>("FR_Input");
    FocusByKeyboard(field);
    for (const ChordCase& c : cases) {
        field->setText(c.text);
        field->end(false);
        const int beepsBefore = Beeps();
        QInputMethodEvent commit;
        commit.setCommitString(c.sent);
        QMimeData data;
        data.setText(c.sent);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        switch (c.way) {
            case Way::Chord:
                QTest::keyClick(field, c.key, c.modifiers);
                break;
            case Way::Commit:
                QApplication::sendEvent(field, &commit);
                break;
            case Way::Drop:
                QApplication::sendEvent(field, &enter);
                QApplication::sendEvent(field, &drop);
                break;
        }
        EXPECT_EQ(field->text(), c.result) << c.name;
        EXPECT_EQ(Beeps() - beepsBefore, c.beeps) << c.name;
    }
}

TEST_F(FrequencyEditTest, EditingShortcutsStillWork) {
    auto* field = Find<FrequencyEdit>("FR_Input");
    FocusByKeyboard(field);
    field->setText("123");
    field->end(false);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "123");
    QTest::keyClick(field, '4');
    EXPECT_EQ(field->text(), "4");
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field->text(), "123");
    EXPECT_EQ(Beeps(), 0);
}

INSTANTIATE_TEST_SUITE_P(Chords, CrystalKeyTest,
                         testing::Values(QuarzCase{"AltLetter", Qt::Key_X, Qt::AltModifier, 1},
                                         QuarzCase{"MetaDigit", Qt::Key_5, Qt::MetaModifier, 1}),
                         [](const testing::TestParamInfo<QuarzCase>& param) {
                             return param.param.name;
                         });

// Typing into a prescaler box as its user does, with the box focused: the text before the
// selection plus the typed character is looked up as the start of an item.
struct CaretCase {
    const char* name;
    const char* combo;
    const char* text;
    int selectionStart;
    int selectionLength;  // 0: only the caret stands at selectionStart
    char typed;
    const char* result;
    const char* selected;
    int caret;
};
void PrintTo(const CaretCase& c, std::ostream* os) {
    *os << c.name;
}

class ComboCaretTest : public WindowFixture, public testing::WithParamInterface<CaretCase> {};

TEST_P(ComboCaretTest, CompletesTheTextBeforeTheSelection) {
    const CaretCase& c = GetParam();
    auto* combo = Find<QComboBox>(c.combo);
    FocusByKeyboard(combo);
    combo->setEditText(c.text);
    QLineEdit* edit = combo->lineEdit();
    edit->setSelection(c.selectionStart, c.selectionLength);
    QTest::keyClick(combo, c.typed);
    EXPECT_EQ(combo->currentText(), c.result);
    EXPECT_EQ(edit->selectedText(), c.selected);
    EXPECT_EQ(edit->cursorPosition(), c.caret);
}

INSTANTIATE_TEST_SUITE_P(
    Carets, ComboCaretTest,
    testing::Values(CaretCase{"CaretInsideAnItem", "R0_INPUT", "12", 1, 0, '4', "14", "", 2},
                    CaretCase{"WholeTextSelected", "R0_INPUT", "12", 0, 2, '1', "12", "2", 1},
                    CaretCase{"NoItemStartsSo", "R0_INPUT", "12", 0, 2, '9', "9", "", 1},
                    CaretCase{"TheItemReplacesTheText", "R1_Input", "5", 0, 0, '9', "9", "", 1},
                    CaretCase{"Backspace", "R0_INPUT", "12", 1, 1, '\b', "1", "", 1}),
    [](const testing::TestParamInfo<CaretCase>& param) { return param.param.name; });

class ComboWheelTest : public WindowFixture {};

// One wheel step down over R2_Input's arrow, as the windowing system delivers it.
TEST_F(ComboWheelTest, TheWheelChangesAPrescalerBoxOnlyWhileItHasTheFocus) {
    for (const auto& [focused, text] : {std::pair{false, "2"}, std::pair{true, "1"}}) {
        auto* combo = Find<QComboBox>("R2_Input");
        QWidget* other = Find<QWidget>("Quarz");
        FocusByKeyboard(focused ? static_cast<QWidget*>(combo) : other);
        const QPointF at(combo->width() - 5, combo->height() / 2);
        QWheelEvent wheel(at, combo->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QSpontaneKeyEvent::setSpontaneous(&wheel);
        QApplication::sendEvent(combo, &wheel);
        EXPECT_EQ(combo->currentText(), text) << focused;
        EXPECT_EQ(QApplication::focusWidget(), focused ? static_cast<QWidget*>(combo) : other);
    }
}

class ComboListTest : public WindowFixture {};

TEST_F(ComboListTest, TheDropDownListsShowItemsThirteenPixelsHigh) {
    for (const char* name : {"R0_INPUT", "R1_Input", "R2_Input"}) {
        auto* combo = Find<QComboBox>(name);
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window())) << name;
        ASSERT_EQ(combo->count(), 4) << name;
        for (int row = 0; row < combo->count(); ++row) {
            const QRect item = list->visualRect(list->model()->index(row, 0));
            EXPECT_EQ(item.height(), 13) << name << " " << row;
            EXPECT_EQ(item.top(), list->visualRect(list->model()->index(0, 0)).top() + 13 * row)
                << name << " " << row;
        }
        combo->hidePopup();
    }
}

}  // namespace
}  // namespace vx40
