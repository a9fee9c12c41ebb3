// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include <QLocale>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include "app/Unit1.h"
#include "channel/ChannelConstants.h"

class QWidget;

// Failed comparisons show Qt's texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace vx40 {

class ChannelGrid;

// A fresh main window per test, shown and active, with the message dialog and the failure
// report answered by recording what they would show.
class WindowFixture : public testing::Test {
  protected:
    struct ShownMessage {
        QString caption;
        QString text;
        bool hasIcon = false;
        QStringList buttons;
        bool okIsDefault = false;
        std::array<QString, kColumnCount> currentRow;  // the table's current row while shown
    };
    struct ShownFailure {
        QString caption;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
    };
    // A file dialog as it opened: the file name and filter entry it remembered, and the refusal
    // of the name answered just before while it stayed open (empty when none).
    struct FileDialogOpening {
        QString dialog;
        QString fileName;
        int filter = 0;
        QString refusal;
    };
    // What the user answers in a file dialog: a name typed under a filter entry.
    struct FileAnswer {
        int filter = 0;
        QString name;
    };

    void SetUp() override { OpenWindow(QLocale::c()); }
    void TearDown() override;
    void OpenWindow(const QLocale& locale);

    template <typename T>
    T* Find(const char* name) const {
        T* child = form_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    ChannelGrid* Grid() const;
    // The text the grid shows in cell (column, row).
    QString Cell(int column, int row) const;
    QPoint CellCentre(int column, int row) const;
    void PressCell(int column, int row, Qt::KeyboardModifiers modifiers = {});
    void ClickCell(int column, int row, Qt::KeyboardModifiers modifiers = {});
    // Gives the widget the focus as the Tab key would.
    static void FocusByKeyboard(QWidget* widget);
    int Beeps() const;

    std::unique_ptr<TForm1> form_;
    std::vector<ShownMessage> messages_;
    std::vector<ShownFailure> failures_;
    // One answer per opening of a file dialog, nothing for a cancel; with none left every file
    // dialog is cancelled.
    std::deque<std::optional<FileAnswer>> fileAnswers_;
    std::vector<FileDialogOpening> fileDialogs_;
    int beepsAtStart_ = 0;
};

}  // namespace vx40
