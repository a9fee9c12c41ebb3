// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace vx40 {

// The message dialog through which the handlers tell the user something: modal, centred on the
// screen, captioned with the application title, no icon, the text unchanged (a carriage return
// starts a new line) and wrapped to at most half the screen width, one "OK" button that answers
// both Enter and Esc.
class MessageDialog : public QDialog {
    Q_OBJECT
  public:
    MessageDialog(const QString& text, QWidget* parent = nullptr);

    const QString& Text() const { return text_; }
    QLabel* TextLabel() const { return label_; }
    QPushButton* OkButton() const { return ok_; }

    // Shows the text and returns once the dialog is closed: Accepted for "OK", Rejected for Esc
    // or the close button. While the main window's close is pending it returns Rejected at once.
    static int Show(QWidget* parent, const QString& text);

    // A test gets the finished dialog instead of its being run and answers for the user.
    using TestHook = std::function<int(MessageDialog&)>;
    static void SetTestHook(TestHook hook);

  private:
    QString text_;
    QLabel* label_;
    QPushButton* ok_;
};

}  // namespace vx40
