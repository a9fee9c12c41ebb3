// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

class QComboBox;

namespace vx40 {

// The edit field of a prescaler box. A typed character completes from the start of the box's
// items (text/ItemCompletion.h); when no item starts so, the character is typed as usual.
// Backspace and the editing keys are Qt's own.
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
