// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/TypedText.h"

#include <QKeyEvent>

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

}  // namespace vx40
