// SPDX-License-Identifier: GPL-3.0-or-later
#include <optional>
#include <string_view>

#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QCursor>
#include <QDialog>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
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

// "Rechnen" clicked with the pointer resting on it opens the refusal; while it is open the
// pointer stays or moves, then Return closes it. The controls show hot-track exactly where the
// pointer is then, before it moves again, and none once it has left the window.
class HotTrackTest : public WindowFixture {
  protected:
    void MovePointerOffTheWindow() const {
        QCursor::setPos(form_->geometry().bottomRight() + QPoint(40, 40));
        QCoreApplication::processEvents();
    }
    // Drawn anywhere in the hot-track colour: the face of a button, the frame of a check box.
    static bool Hot(QWidget* control) {
        const QImage image = control->grab().toImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) == QColor(255, 199, 60)) {
                    return true;
                }
            }
        }
        return false;
    }
};

TEST_F(HotTrackTest, AfterADialogClosedByKeyboardOnlyTheControlUnderThePointerIsHot) {
    const char* const controls[] = {"RzButton1", "loeschen", "Modulator"};
    for (const char* pointed : {"RzButton1", "loeschen", "Modulator", ""}) {
        auto* button = Find<QPushButton>("RzButton1");
        QTest::mouseMove(button);
        ASSERT_TRUE(Hot(button));
        MessageDialog::SetTestHook([pointed, this](MessageDialog& dialog) {
            dialog.show();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            if (*pointed != '\0') {
                QTest::mouseMove(Find<QWidget>(pointed), QPoint(6, 6));
            } else {
                MovePointerOffTheWindow();
            }
            QTest::keyClick(&dialog, Qt::Key_Return);
            EXPECT_FALSE(dialog.isVisible());
            return dialog.result();
        });
        Find<FrequencyEdit>("FR_Input")->setText("798400");
        QTest::mouseClick(button, Qt::LeftButton);
        for (const char* control : controls) {
            EXPECT_EQ(Hot(Find<QWidget>(control)), std::string_view(control) == pointed)
                << control << " with the pointer on " << pointed;
        }
        // The first move after the dialog leaves the window at once.
        MovePointerOffTheWindow();
        for (const char* control : controls) {
            EXPECT_FALSE(Hot(Find<QWidget>(control))) << control << " after leaving " << pointed;
        }
    }
}

}  // namespace
}  // namespace vx40
