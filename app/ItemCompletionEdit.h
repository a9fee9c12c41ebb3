// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

class QComboBox;

namespace vx40 {

// The edit field of a prescaler box. A typed character completes: the text before the selection
// plus the character is looked up, letter case ignored, as the start of the box's items in list
// order; the first item that starts with it becomes the text, with the rest after the caret
// selected. When no item starts with it, the character is typed as usual; Backspace and the
// editing keys are Qt's own.
class ItemCompletionEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit ItemCompletionEdit(QComboBox* box);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool Complete(const QString& typed);

    QComboBox* box_;
};

}  // namespace vx40
