// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ItemCompletionEdit.h"

#include <QComboBox>
#include <QKeyEvent>

#include "app/TypedText.h"

namespace vx40 {

ItemCompletionEdit::ItemCompletionEdit(QComboBox* box) : QLineEdit(box), box_(box) {}

void ItemCompletionEdit::keyPressEvent(QKeyEvent* event) {
    if (!isReadOnly() && TypesText(*event) && Complete(event->text())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

bool ItemCompletionEdit::Complete(const QString& typed) {
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const QString wanted = text().left(start) + typed;
    for (int i = 0; i < box_->count(); ++i) {
        const QString item = box_->itemText(i);
        if (item.startsWith(wanted, Qt::CaseInsensitive)) {
            // Replaced through the selection, so that undo gives back the text before.
            selectAll();
            insert(item);
            setSelection(static_cast<int>(item.size()),
                         static_cast<int>(wanted.size() - item.size()));
            return true;
        }
    }
    return false;
}

}  // namespace vx40
