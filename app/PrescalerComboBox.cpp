// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PrescalerComboBox.h"

#include <QWheelEvent>

#include "app/FixedHeightItemDelegate.h"
#include "app/ItemCompletionEdit.h"

namespace vx40 {
namespace {

constexpr int kListItemHeight = 13;

}  // namespace

PrescalerComboBox::PrescalerComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    auto* edit = new ItemCompletionEdit(this);
    edit->setPalette(palette());
    setLineEdit(edit);
    // Qt's completer looks up the whole text, not the text before the selection.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    // Tab and a click give the focus, the wheel does not.
    setFocusPolicy(Qt::StrongFocus);
    setItemDelegate(new FixedHeightItemDelegate(kListItemHeight, this));
}

void PrescalerComboBox::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}

}  // namespace vx40
