// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowFixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/ChannelGrid.h"
#include "app/ChannelTableModel.h"
#include "app/FailureReport.h"
#include "app/FileDialog.h"
#include "app/MessageDialog.h"
#include "app/SystemBeep.h"

namespace vx40 {

void WindowFixture::OpenWindow(const QLocale& locale) {
    QLocale::setDefault(locale);
    form_ = std::make_unique<TForm1>();
    MessageDialog::SetTestHook([this](MessageDialog& dialog) {
        ShownMessage shown;
        shown.caption = dialog.windowTitle();
        shown.text = dialog.Text();
        for (const QLabel* label : dialog.findChildren<QLabel*>()) {
            shown.hasIcon = shown.hasIcon || !label->pixmap().isNull();
        }
        for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
            shown.buttons.append(button->text());
        }
        shown.okIsDefault = dialog.OkButton()->isDefault();
        const ChannelTable& table = form_->Table();
        for (int c = 0; c < kColumnCount; ++c) {
            shown.currentRow[static_cast<std::size_t>(c)] = Cell(c, table.CurrentRow());
        }
        messages_.push_back(shown);
        return static_cast<int>(QDialog::Accepted);
    });
    FailureReport::SetTestHook([this](QMessageBox& box) {
        ShownFailure shown{box.windowTitle(), box.text(), box.icon(), {}};
        for (const QAbstractButton* button : box.buttons()) {
            shown.buttons.append(button->text());
        }
        failures_.push_back(shown);
    });
    FileDialog::SetTestHook([this](FileDialog& dialog) -> std::optional<QString> {
        fileDialogs_.push_back(
            {dialog.objectName(), dialog.FileName(), dialog.FilterIndex(), dialog.LastRefusal()});
        if (fileAnswers_.empty()) {
            return std::nullopt;
        }
        const std::optional<FileAnswer> answer = fileAnswers_.front();
        fileAnswers_.pop_front();
        if (!answer) {
            return std::nullopt;
        }
        dialog.SelectFilter(answer->filter);
        return answer->name;
    });
    form_->show();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    beepsAtStart_ = SystemBeep::Count();
}

void WindowFixture::TearDown() {
    form_.reset();
    MessageDialog::SetTestHook({});
    FailureReport::SetTestHook({});
    FileDialog::SetTestHook({});
    QLocale::setDefault(QLocale::c());
}

ChannelGrid* WindowFixture::Grid() const {
    return Find<ChannelGrid>("Grid1");
}

QString WindowFixture::Cell(int column, int row) const {
    const ChannelGrid* grid = Grid();
    return grid->model()->index(row, column).data().toString();
}

QPoint WindowFixture::CellCentre(int column, int row) const {
    const ChannelGrid* grid = Grid();
    return grid->visualRect(grid->model()->index(row, column)).center();
}

void WindowFixture::PressCell(int column, int row, Qt::KeyboardModifiers modifiers) {
    QTest::mousePress(Grid()->viewport(), Qt::LeftButton, modifiers, CellCentre(column, row));
}

void WindowFixture::ClickCell(int column, int row, Qt::KeyboardModifiers modifiers) {
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, modifiers, CellCentre(column, row));
}

void WindowFixture::FocusByKeyboard(QWidget* widget) {
    widget->setFocus(Qt::TabFocusReason);
}

int WindowFixture::Beeps() const {
    return SystemBeep::Count() - beepsAtStart_;
}

}  // namespace vx40
