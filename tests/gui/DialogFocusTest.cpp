// SPDX-License-Identifier: GPL-3.0-or-later
#include <optional>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QMessageBox>
#include <QTest>

#include "WindowFixture.h"
#include "app/FailureReport.h"
#include "app/FileDialog.h"
#include "app/FrequencyEdit.h"
#include "app/MessageDialog.h"
#include "core/TempDir.h"

namespace vx40 {
namespace {

// A dialog opened from the focused control with a key, and how the user answers it.
struct DialogCase {
    const char* name;
    const char* control;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* r1;         // the text of R1_Input
    const char* frequency;  // the text of FR_Input
    bool fileConfirmed;
};
void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << c.name;
}

// Every dialog is really shown and takes the activation from the window, as on a desktop; the
// offscreen platform then hands the activation back to no one.
class DialogFocusTest : public WindowFixture, public testing::WithParamInterface<DialogCase> {
  protected:
    void SetUp() override {
        WindowFixture::SetUp();
        MessageDialog::SetTestHook([this](MessageDialog& dialog) {
            Open(dialog);
            return static_cast<int>(QDialog::Accepted);
        });
        FailureReport::SetTestHook([this](QMessageBox& box) { Open(box); });
        FileDialog::SetTestHook([this](FileDialog&) -> std::optional<QString> {
            QDialog standIn(form_.get());
            Open(standIn);
            if (!GetParam().fileConfirmed) {
                return std::nullopt;
            }
            // The save dialog takes only the name of a file that exists.
            testutil::WriteBytes(dir_.Path("set.vx4"), "");
            return QString::fromStdString(dir_.Path("set"));
        });
    }

    // While the dialog is active the header row is overwritten; only an activation of the
    // window writes it again.
    void Open(QWidget& dialog) {
        ++opened_;
        dialog.show();
        // A window counts as active while its transient parent is: wait for the dialog itself.
        EXPECT_TRUE(QTest::qWaitFor([&dialog] { return QApplication::activeWindow() == &dialog; }));
        form_->Table().SetCell(0, 0, "x");
        dialog.hide();
    }

    testutil::TempDir dir_;
    int opened_ = 0;
};

TEST_P(DialogFocusTest, TheWindowAndItsControlGetTheFocusBack) {
    const DialogCase& c = GetParam();
    auto* control = Find<QWidget>(c.control);
    Find<QComboBox>("R1_Input")->setEditText(c.r1);
    Find<FrequencyEdit>("FR_Input")->setText(c.frequency);
    FocusByKeyboard(control);
    QTest::keyClick(control, c.key, c.modifiers);
    ASSERT_EQ(opened_, 1);

    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    EXPECT_EQ(QApplication::activeWindow(), form_.get());
    EXPECT_EQ(QApplication::focusWidget(), control);
    EXPECT_EQ(Cell(0, 0), "Frequenz");
    // The menu shortcuts answer again without a click.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(opened_, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DialogFocusTest,
    testing::Values(DialogCase{"Message", "RzButton1", Qt::Key_Space, {}, "5", "1", false},
                    DialogCase{
                        "FailureReport", "RzButton1", Qt::Key_Return, {}, "x", "798300", false},
                    DialogCase{"FileDialogConfirmed", "FR_Input", Qt::Key_S, Qt::ControlModifier,
                               "5", "798,300", true},
                    DialogCase{"FileDialogCancelled", "R0_INPUT", Qt::Key_L, Qt::ControlModifier,
                               "5", "798,300", false}),
    [](const testing::TestParamInfo<DialogCase>& param) { return param.param.name; });

}  // namespace
}  // namespace vx40
