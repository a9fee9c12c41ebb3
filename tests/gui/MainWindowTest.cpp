// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "WindowFixture.h"
#include "app/ApplicationFrame.h"
#include "app/ChannelGrid.h"
#include "app/CrystalSpinEdit.h"
#include "app/FrequencyEdit.h"

namespace vx40 {
namespace {

const QStringList kHeader = {"Frequenz", "n0", "n1", "n2", "D7", "D6",
                             "D5",       "D4", "D3", "D2", "D1", "D0"};

class MainWindowTest : public WindowFixture {
  protected:
    QStringList Row(int row) const {
        QStringList texts;
        for (int c = 0; c < kColumnCount; ++c) {
            texts.append(Cell(c, row));
        }
        return texts;
    }
    void SetCombo(const char* name, const QString& text) {
        Find<QComboBox>(name)->setEditText(text);
    }
    void SetFrequencyText(const QString& text) { Find<FrequencyEdit>("FR_Input")->setText(text); }
    void Calculate() { QTest::mouseClick(Find<QPushButton>("RzButton1"), Qt::LeftButton); }
    QString OverallText() const { return Find<QLineEdit>("Overall")->text(); }
    QAction* Item(const char* name) const { return Find<QAction>(name); }
};

TEST_F(MainWindowTest, StartsWithTheInitialValuesOfEveryControl) {
    EXPECT_EQ(form_->objectName(), "Form1");
    EXPECT_EQ(form_->windowTitle(), "VX40");
    EXPECT_EQ(form_->centralWidget()->size(), QSize(376, 476));
    EXPECT_EQ(form_->minimumSize(), form_->maximumSize());
    EXPECT_FALSE(form_->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(QApplication::focusWidget(), Find<CrystalSpinEdit>("Quarz"));

    EXPECT_EQ(Find<QGroupBox>("RzGroupBox1")->title(), "Vorgaben");
    const std::pair<const char*, const char*> labels[] = {{"RzLabel1", "Quarz Frequenz"},
                                                          {"RzLabel2", "Vorteiler R0"},
                                                          {"RzLabel3", "Vorteiler R1"},
                                                          {"RzLabel4", "Vorteiler R2"},
                                                          {"RzLabel5", "Fest-Teiler"},
                                                          {"RzLabel6", "Ratio"},
                                                          {"Label1", "Mhz"}};
    for (const auto& [name, text] : labels) {
        EXPECT_EQ(Find<QLabel>(name)->text(), QString::fromUtf8(text)) << name;
    }

    auto* quarz = Find<CrystalSpinEdit>("Quarz");
    EXPECT_EQ(quarz->text(), "6000000");
    EXPECT_EQ(quarz->IntegerValue(), 6000000);
    EXPECT_EQ(quarz->singleStep(), 1000000);
    EXPECT_EQ(quarz->minimum(), 0);
    EXPECT_EQ(quarz->maximum(), 10000000);

    const struct {
        const char* name;
        QStringList items;
        const char* text;
    } combos[] = {{"R0_INPUT", {"12", "13", "14", "15"}, "12"},
                  {"R1_Input", {"9", "5", "6", "7"}, "5"},
                  {"R2_Input", {"1", "2", "4", "8"}, "2"}};
    for (const auto& combo : combos) {
        auto* box = Find<QComboBox>(combo.name);
        EXPECT_TRUE(box->isEditable());
        EXPECT_EQ(box->currentIndex(), -1) << combo.name;
        EXPECT_EQ(box->currentText(), combo.text);
        QStringList items;
        for (int i = 0; i < box->count(); ++i) {
            items.append(box->itemText(i));
        }
        EXPECT_EQ(items, combo.items);
    }

    auto* edit1 = Find<QLineEdit>("Edit1");
    EXPECT_EQ(edit1->text(), "       128");
    EXPECT_TRUE(edit1->isReadOnly());
    EXPECT_TRUE(edit1->font().bold());
    EXPECT_EQ(edit1->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(OverallText(), "");
    EXPECT_TRUE(Find<QLineEdit>("Overall")->isReadOnly());
    EXPECT_EQ(Find<FrequencyEdit>("FR_Input")->text(), "798,300");
    EXPECT_TRUE(Find<QCheckBox>("Modulator")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("Testfunktion")->isChecked());
    EXPECT_EQ(Find<QPushButton>("RzButton1")->text(), "Rechnen");
    EXPECT_EQ(Find<QPushButton>("loeschen")->text(), QString::fromUtf8("Felder Löschen"));

    ChannelGrid* grid = Grid();
    EXPECT_EQ(grid->model()->rowCount(), 17);
    EXPECT_EQ(grid->model()->columnCount(), 12);
    EXPECT_TRUE(grid->horizontalHeader()->isHidden());
    EXPECT_TRUE(grid->verticalHeader()->isHidden());
    EXPECT_EQ(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    const int widths[] = {78, 45, 44, 44, 20, 19, 19, 19, 18, 18, 18, 18};
    for (int c = 0; c < kColumnCount; ++c) {
        EXPECT_EQ(grid->columnWidth(c), widths[c] + 1) << "column " << c;  // and its grid line
    }
    for (int r = 0; r < kRowCount; ++r) {
        EXPECT_EQ(grid->rowHeight(r), 16) << "row " << r;
    }
    EXPECT_EQ(grid->model()->index(0, 3).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(166, 202, 240));
    EXPECT_EQ(grid->currentIndex(), grid->model()->index(1, 0));
    for (int r = 1; r < kRowCount; ++r) {
        EXPECT_EQ(Row(r), QStringList(kColumnCount, QString())) << "row " << r;
    }
}

TEST_F(MainWindowTest, TheTabKeyRunsThroughTheControlsInTheirOrder) {
    const char* order[] = {"R0_INPUT",  "R1_Input",     "R2_Input",  "Edit1", "Overall", "FR_Input",
                           "Modulator", "Testfunktion", "RzButton1", "Grid1", "loeschen"};
    for (const char* name : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // A combo box gives its focus to its edit field.
        while (focus != nullptr && focus->objectName().isEmpty()) {
            focus = focus->parentWidget();
        }
        ASSERT_NE(focus, nullptr);
        EXPECT_EQ(focus->objectName(), name);
    }
}

TEST_F(MainWindowTest, TheMenuHasItsEntriesItemsSeparatorsAndShortcuts) {
    auto* bar = Find<QMenuBar>("MainMenu1");
    QStringList entries;
    for (const QAction* entry : bar->actions()) {
        entries.append(entry->text());
    }
    EXPECT_EQ(entries, QStringList({"&Datei", "&Berechnung", "?"}));
    EXPECT_EQ(bar->actions().at(2)->objectName(), "N1");
    EXPECT_EQ(bar->actions().at(2)->menu(), nullptr);

    const auto items = [](const QMenu* menu) {
        QStringList texts;
        for (const QAction* item : menu->actions()) {
            texts.append(item->objectName() + "=" + (item->isSeparator() ? "-" : item->text()) +
                         (item->shortcut().isEmpty() ? "" : " " + item->shortcut().toString()));
            EXPECT_TRUE(item->isEnabled());
        }
        return texts;
    };
    EXPECT_EQ(items(Find<QMenu>("Datei1")),
              QStringList({"Speichern1=&Speichern Ctrl+S", "Laden1=&Laden Ctrl+L", "N2=-",
                           "BinLesen=Bin Datei einlesen", "BinDateierzeugen1=&Bin-Datei erzeugen",
                           "N3=-", "Ende1=&Ende"}));
    EXPECT_EQ(items(Find<QMenu>("Berechnung1")),
              QStringList({"Berechnen1=&Berechnen", "N4=-",
                           QString::fromUtf8("BinrdateiNFaktorzurckrechnen1=Binärdatei N-Faktor "
                                             "zurückrechnen"),
                           QString::fromUtf8("BinrdateiFrequenzenrckrechnen1=Binärdatei "
                                             "Frequenzen rückrechnen")}));
}

TEST_F(MainWindowTest, ActivationWritesTheHeaderRowEveryTime) {
    EXPECT_EQ(Row(0), kHeader);
    form_->Table().SetCell(0, 0, "x");
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_EQ(Cell(0, 0), "x");
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    EXPECT_EQ(Row(0), kHeader);
}

TEST_F(MainWindowTest, AClickInARowWritesTheFrequencyIntoItsFirstColumn) {
    QSignalSpy clicks(Grid(), &ChannelGrid::Click);
    form_->Table().SetCell(3, 5, "keep");
    ClickCell(7, 5);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(form_->Table().CurrentRow(), 5);
    EXPECT_EQ(Cell(0, 5), "798300");
    EXPECT_EQ(Cell(3, 5), "keep");
    EXPECT_EQ(Cell(1, 5), "");

    SetFrequencyText("800000");
    ClickCell(2, 5);
    EXPECT_EQ(Cell(0, 5), "800000");
    SetFrequencyText("(5)");
    ClickCell(0, 9);
    EXPECT_EQ(Cell(0, 9), "-5");
    EXPECT_EQ(Beeps(), 0);
}

TEST_F(MainWindowTest, KeysThatMoveTheCurrentCellWriteTheFrequency) {
    QSignalSpy clicks(Grid(), &ChannelGrid::Click);
    ClickCell(0, 5);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(Grid(), Qt::Key_Down);
    EXPECT_EQ(form_->Table().CurrentRow(), 6);
    EXPECT_EQ(Cell(0, 6), "798300");
    QTest::keyClick(Grid(), Qt::Key_Right);
    EXPECT_EQ(form_->Table().CurrentColumn(), 1);
    EXPECT_EQ(clicks.count(), 3);

    // The header row is out of reach of the keyboard, and so is anything beyond row 16.
    ClickCell(4, 1);
    const int before = static_cast<int>(clicks.count());
    QTest::keyClick(Grid(), Qt::Key_Up);
    QTest::keyClick(Grid(), Qt::Key_PageUp);
    EXPECT_EQ(form_->Table().CurrentRow(), 1);
    ClickCell(4, 16);
    form_->Table().SetCell(0, 16, "x");
    QTest::keyClick(Grid(), Qt::Key_Down);
    EXPECT_EQ(form_->Table().CurrentRow(), 16);
    EXPECT_EQ(Cell(0, 16), "x");
    EXPECT_EQ(clicks.count(), before + 1);

    // Typing into a cell neither edits it nor moves the current cell.
    QTest::keyClicks(Grid(), "7");
    EXPECT_EQ(Cell(4, 16), "");
    EXPECT_EQ(clicks.count(), before + 1);
}

TEST_F(MainWindowTest, APressOnTheHeaderRowDoesNothing) {
    QSignalSpy clicks(Grid(), &ChannelGrid::Click);
    ClickCell(3, 4);
    ClickCell(2, 0);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(form_->Table().CurrentRow(), 4);
    EXPECT_EQ(form_->Table().CurrentColumn(), 3);
    EXPECT_EQ(Row(0), kHeader);
    EXPECT_FALSE(Grid()->selectionModel()->isSelected(Grid()->model()->index(0, 2)));
}

TEST_F(MainWindowTest, DragAndShiftClickSelectARangeAndFireOnRelease) {
    QSignalSpy clicks(Grid(), &ChannelGrid::Click);
    PressCell(1, 3);
    QTest::mouseMove(Grid()->viewport(), CellCentre(4, 6));
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseRelease(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(4, 6));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(form_->Table().CurrentRow(), 3);
    EXPECT_EQ(Grid()->selectionModel()->selectedIndexes().size(), 16);
    EXPECT_EQ(Cell(0, 3), "798300");

    SetFrequencyText("1");
    ClickCell(5, 8, Qt::ShiftModifier);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(form_->Table().CurrentRow(), 3);
    EXPECT_EQ(form_->Table().CurrentColumn(), 1);
    EXPECT_EQ(Grid()->selectionModel()->selectedIndexes().size(), 5 * 6);
    EXPECT_EQ(Cell(0, 3), "1");
    EXPECT_EQ(Cell(0, 8), "");
}

TEST_F(MainWindowTest, TheDefaultsCalculateRowOne) {
    ClickCell(0, 1);
    Calculate();
    EXPECT_EQ(OverallText(), "12500");
    EXPECT_EQ(Row(1), QStringList({"798300", "120", "114", "3", "05", "08", "03", "07", "02", "07",
                                   "08", "04"}));
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(failures_.empty());
}

TEST_F(MainWindowTest, AFrequencyWithoutDividerIsRefusedBetweenBlanksAndFillWords) {
    ClickCell(0, 2);
    Calculate();
    SetFrequencyText("798400");
    Calculate();
    ASSERT_EQ(messages_.size(), 1u);
    const ShownMessage& shown = messages_.front();
    EXPECT_EQ(shown.caption, "VX40");
    EXPECT_EQ(shown.text, "Frequenz nicht berechenbar");
    EXPECT_FALSE(shown.hasIcon);
    EXPECT_EQ(shown.buttons, QStringList({"OK"}));
    EXPECT_TRUE(shown.okIsDefault);
    // While the message is open: blanks in columns 1 to 3, the earlier data nibbles unchanged.
    EXPECT_EQ(
        QStringList(shown.currentRow.begin(), shown.currentRow.end()),
        QStringList({"798300", " ", " ", " ", "05", "08", "03", "07", "02", "07", "08", "04"}));
    EXPECT_EQ(Row(2), QStringList({"798300", " ", " ", " ", "0F", "0F", "0F", "0F", "0F", "0F",
                                   "0F", "0F"}));
    EXPECT_EQ(OverallText(), "12500");
    EXPECT_EQ(Row(0), kHeader);
}

TEST_F(MainWindowTest, ALetterInAPrescalerIsReportedAndTheWindowWorksOn) {
    auto* r1 = Find<QComboBox>("R1_Input");
    FocusByKeyboard(r1);
    QTest::keyClick(r1, Qt::Key_X);
    ASSERT_EQ(r1->currentText(), "x");
    Calculate();
    ASSERT_EQ(failures_.size(), 1u);
    EXPECT_EQ(failures_[0].caption, "VX40");
    EXPECT_EQ(failures_[0].text, "'x' is not a valid integer value.");
    EXPECT_EQ(failures_[0].icon, QMessageBox::Critical);
    EXPECT_EQ(failures_[0].buttons, QStringList({"OK"}));
    EXPECT_EQ(OverallText(), "");
    EXPECT_EQ(Row(1), QStringList(kColumnCount, QString()));
    EXPECT_TRUE(form_->isVisible());

    SetCombo("R1_Input", "5");
    Calculate();
    EXPECT_EQ(failures_.size(), 1u);
    EXPECT_EQ(OverallText(), "12500");
    EXPECT_EQ(Cell(1, 1), "120");
}

TEST_F(MainWindowTest, ADivisorOfZeroIsReportedWithoutChangingAnything) {
    Find<QLineEdit>("Overall")->setText("before");
    SetCombo("R2_Input", "0");
    SetFrequencyText("");
    Calculate();
    ASSERT_EQ(failures_.size(), 1u);
    EXPECT_EQ(failures_[0].text, "Division by zero.");
    EXPECT_EQ(OverallText(), "before");
    EXPECT_EQ(Row(1), QStringList(kColumnCount, QString()));
    // The frequency field was not read, so it was not set to "0".
    EXPECT_EQ(Find<FrequencyEdit>("FR_Input")->text(), "");
    EXPECT_EQ(form_->KeptCodes(), SelectionCodes{});
}

TEST_F(MainWindowTest, EnterAndSpaceOnTheFocusedButtonCalculate) {
    auto* button = Find<QPushButton>("RzButton1");
    FocusByKeyboard(button);
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(OverallText(), "12500");
    Find<QLineEdit>("Overall")->clear();
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(OverallText(), "12500");
    Find<QLineEdit>("Overall")->clear();
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(OverallText(), "12500");
}

TEST_F(MainWindowTest, ClearFillsEveryChannelCellWithTwoBlanks) {
    ClickCell(0, 1);
    Calculate();
    QTest::mouseClick(Find<QPushButton>("loeschen"), Qt::LeftButton);
    for (int r = 1; r < kRowCount; ++r) {
        EXPECT_EQ(Row(r), QStringList(kColumnCount, "  ")) << "row " << r;
    }
    EXPECT_EQ(Row(0), kHeader);
}

TEST_F(MainWindowTest, TheBackCalculationRecomputesEveryRowFromItsNibbles) {
    ClickCell(0, 1);
    Calculate();
    form_->Table().SetCell(0, 1, "");
    for (int c = 4; c < kColumnCount; ++c) {
        form_->Table().SetCell(c, 2, "0F");
    }
    Item("BinrdateiNFaktorzurckrechnen1")->trigger();
    EXPECT_EQ(Row(1).mid(0, 4), QStringList({"798300", "120", "114", "3"}));
    EXPECT_EQ(Row(2).mid(0, 4), QStringList({"26214387", "127", "127", "127"}));
    EXPECT_EQ(Row(16).mid(0, 4), QStringList({"0", "0", "0", "0"}));
}

TEST_F(MainWindowTest, ShortcutsReachTheirItemsFromAnyControl) {
    QSignalSpy save(Item("Speichern1"), &QAction::triggered);
    QSignalSpy load(Item("Laden1"), &QAction::triggered);
    for (const char* name : {"Quarz", "FR_Input", "Grid1"}) {
        FocusByKeyboard(Find<QWidget>(name));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
    }
    EXPECT_EQ(save.count(), 3);
    EXPECT_EQ(load.count(), 3);
    EXPECT_EQ(Beeps(), 0);
}

TEST_F(MainWindowTest, ItemsWithoutAHandlerDoNothing) {
    ClickCell(0, 1);
    const QStringList before = Row(1);
    for (const char* name : {"Berechnen1", "BinrdateiFrequenzenrckrechnen1", "N1"}) {
        Item(name)->trigger();
    }
    EXPECT_EQ(Row(1), before);
    EXPECT_TRUE(form_->isVisible());
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(failures_.empty());
}

TEST_F(MainWindowTest, EndeClosesTheWindowAndLaterMessagesCloseAtOnce) {
    EXPECT_FALSE(ApplicationFrame::ClosePending());
    Item("Ende1")->trigger();
    EXPECT_FALSE(form_->isVisible());
    EXPECT_TRUE(ApplicationFrame::ClosePending());

    // A handler still running after the close gets no answer from the user.
    SetFrequencyText("798400");
    form_->RzButton1Click();
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Cell(4, 1), "0F");
}

}  // namespace
}  // namespace vx40
