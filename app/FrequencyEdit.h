// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include <QClipboard>
#include <QLineEdit>

#include "text/FieldEdit.h"

namespace vx40 {

// The numeric edit of the channel frequency in kHz. Its value is read from the text whenever it
// is asked for; the text is shown in the display format ",0;(,0)" after each change of focus.
// Separators come from the default QLocale. Typing and pasting follow the field's rules
// (text/FrequencyFieldRules.h): digits and a leading sign pass, refused keys beep, and the text
// never grows beyond six characters, although a formatted text may be longer. Characters typed with
// Alt or Meta held and the commits of an input method pass the same filter; a drop is refused with
// the beep.
class FrequencyEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit FrequencyEdit(QWidget* parent = nullptr);

    // The value of the current text. An empty text becomes "0"; a text that cannot be converted,
    // or whose value lies outside the signed 32-bit range, beeps and gives 0.
    double Value();
    // The value rounded to the nearest integer, an exact half to the even neighbour.
    std::int32_t IntegerValue();
    void SetValue(double value);

    // Pastes the clipboard's text as far as the length limit allows; pasted text is not filtered.
    void PasteLimited(QClipboard::Mode mode = QClipboard::Clipboard);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void Format();
    // One typed character, filtered: a refused one beeps.
    void Type(const QString& typed);
    void Apply(const FieldEdit& edit);
};

}  // namespace vx40
