// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FrequencyEdit.h"

#include <memory>
#include <string>

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>

#include "app/SystemBeep.h"
#include "app/TypedText.h"
#include "text/FrequencyFieldRules.h"
#include "text/NumericEditText.h"

namespace vx40 {
namespace {

char DecimalSeparator() {
    const QString separator = QLocale().decimalPoint();
    if (separator.size() == 1 && separator.front().unicode() < 0x80) {
        return static_cast<char>(separator.front().unicode());
    }
    return '.';
}

std::string GroupSeparator() {
    return QLocale().groupSeparator().toStdString();
}

bool ChangesFocusOnly(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

}  // namespace

FrequencyEdit::FrequencyEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // A drop is taken only to be refused like a refused key: dropped text would pass both the
    // filter and the length limit.
    setAcceptDrops(true);
}

double FrequencyEdit::Value() {
    const NumericFieldValue read = ReadNumericFieldValue(text().toStdString(), DecimalSeparator());
    if (read.textToZero) {
        setText(QStringLiteral("0"));
    }
    if (read.beep) {
        SystemBeep::Sound();
    }
    return read.value;
}

std::int32_t FrequencyEdit::IntegerValue() {
    return RoundHalfEvenToInt32(Value()).value_or(0);
}

void FrequencyEdit::SetValue(double value) {
    setText(QString::fromStdString(FormatNumericEditValue(value, GroupSeparator())));
}

void FrequencyEdit::Format() {
    SetValue(Value());
}

void FrequencyEdit::Apply(const FieldEdit& edit) {
    if (edit.beep) {
        SystemBeep::Sound();
    }
    if (!edit.changes) {
        return;
    }
    // The rules remove nothing but the selection.
    if (edit.removed > 0) {
        del();
    } else if (hasSelectedText()) {
        deselect();
    }
    if (!edit.inserted.empty()) {
        insert(QString::fromStdString(edit.inserted));
    }
}

void FrequencyEdit::PasteLimited(QClipboard::Mode mode) {
    if (isReadOnly()) {
        return;
    }
    const QString pasted = QGuiApplication::clipboard()->text(mode);
    // A middle click inserts the selection clipboard at the caret, as Qt does, without
    // replacing what is selected.
    Apply(PasteIntoFrequencyField(FieldStateOf(*this), pasted.toStdString(),
                                  mode == QClipboard::Selection));
}

void FrequencyEdit::keyPressEvent(QKeyEvent* event) {
    const FieldKey key = FieldKeyOf(*event);
    switch (FrequencyFieldAnswer(key)) {
        case KeyAnswer::Own:
            QLineEdit::keyPressEvent(event);
            return;
        case KeyAnswer::Rule:
            if (key == FieldKey::Paste) {
                PasteLimited();
            } else {
                Type(event->text());
            }
            break;
        case KeyAnswer::Beep:
            SystemBeep::Sound();
            break;
        case KeyAnswer::Ignore:
            break;
    }
    event->accept();
}

void FrequencyEdit::Type(const QString& typed) {
    Apply(TypeIntoFrequencyField(FieldStateOf(*this), typed.toStdString()));
}

void FrequencyEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString committed = event->commitString();
    if (committed.isEmpty() && event->replacementLength() == 0) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // The composition goes on as Qt shows it; what the input method commits is typed character
    // by character through the filter. A replacement of text around the caret is not taken.
    QInputMethodEvent composition(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&composition);
    for (const QChar character : committed) {
        Type(QString(character));
    }
    event->accept();
}

void FrequencyEdit::dragEnterEvent(QDragEnterEvent* event) {
    event->acceptProposedAction();
}

// Unlike Qt's line edit, a drag over the field leaves the caret where it stands.
void FrequencyEdit::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void FrequencyEdit::dropEvent(QDropEvent* event) {
    // The source of a moved text keeps it.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    SystemBeep::Sound();
}

void FrequencyEdit::focusInEvent(QFocusEvent* event) {
    if (!ChangesFocusOnly(event->reason())) {
        Format();
    }
    // Qt selects the whole text when the field is entered with the keyboard.
    QLineEdit::focusInEvent(event);
}

void FrequencyEdit::focusOutEvent(QFocusEvent* event) {
    if (!ChangesFocusOnly(event->reason())) {
        Format();
    }
    QLineEdit::focusOutEvent(event);
}

void FrequencyEdit::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    // Qt names the paste item by its caption and shortcut only.
    const QString pasteShortcut =
        QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction* item : menu->actions()) {
        if (item->text().endsWith(pasteShortcut)) {
            disconnect(item, &QAction::triggered, nullptr, nullptr);
            connect(item, &QAction::triggered, this, [this] { PasteLimited(); });
        }
    }
    menu->exec(event->globalPos());
}

void FrequencyEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        if (QGuiApplication::clipboard()->supportsSelection()) {
            PasteLimited(QClipboard::Selection);
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

}  // namespace vx40
