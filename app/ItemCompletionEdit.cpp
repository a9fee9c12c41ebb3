// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ItemCompletionEdit.h"

#include <optional>
#include <string>
#include <vector>

#include <QComboBox>
#include <QKeyEvent>

#include "app/TypedText.h"
#include "text/ItemCompletion.h"

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
    std::vector<std::string> items;
    for (int i = 0; i < box_->count(); ++i) {
        items.push_back(box_->itemText(i).toStdString());
    }
    const std::optional<FieldEdit> edit =
        CompleteFromItems(FieldStateOf(*this), typed.toStdString(), items);
    if (!edit) {
        return false;
    }
    // Replaced through the selection, so that undo gives back the text before.
    selectAll();
    insert(QString::fromStdString(edit->inserted));
    // The caret stays in front of the selected rest.
    const FieldState& after = edit->after;
    setSelection(static_cast<int>(after.selectionStart + after.selectionLength),
                 -static_cast<int>(after.selectionLength));
    return true;
}

}  // namespace vx40
