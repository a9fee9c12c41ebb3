// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TypedText.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace vx40 {

bool TypesText(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.isEmpty()) {
        return false;
    }
    const QChar first = text.front();
    if (first.unicode() < 0x20 || first.unicode() == 0x7f) {
        return false;
    }
    // Qt types a formatting character (a zero-width joiner and the like) even with Ctrl held.
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool shortcut =
        modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    return !shortcut || first.category() == QChar::Other_Format;
}

FieldKey FieldKeyOf(const QKeyEvent& event) {
    if (event.matches(QKeySequence::Paste)) {
        return FieldKey::Paste;
    }
    if (event.matches(QKeySequence::Cut)) {
        return FieldKey::Cut;
    }
    switch (event.key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return FieldKey::Step;
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            return FieldKey::Erase;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return FieldKey::Enter;
        default:
            return TypesText(event) ? FieldKey::Text : FieldKey::Other;
    }
}

FieldState FieldStateOf(const QLineEdit& edit) {
    FieldState field;
    field.text = edit.text().toStdString();
    field.caret = static_cast<std::size_t>(edit.cursorPosition());
    if (edit.hasSelectedText()) {
        field.selectionStart = static_cast<std::size_t>(edit.selectionStart());
        field.selectionLength = static_cast<std::size_t>(edit.selectionLength());
    }
    return field;
}

}  // namespace vx40
