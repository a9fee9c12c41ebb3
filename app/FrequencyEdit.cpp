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
#include <QRegularExpression>

#include "app/SystemBeep.h"
#include "app/TypedText.h"
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
    const NumericEditReading reading =
        ReadNumericEditText(text().toStdString(), DecimalSeparator());
    if (reading.textToZero) {
        setText(QStringLiteral("0"));
        return 0.0;
    }
    // A value beyond 32 bits reads like a text that cannot be converted: it must never wrap to
    // another channel's frequency.
    if (reading.beep || !RoundHalfEvenToInt32(reading.value)) {
        SystemBeep::Sound();
        return 0.0;
    }
    return reading.value;
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

bool FrequencyEdit::AcceptsSign() const {
    const QString current = text();
    if (hasSelectedText() && selectedText() == current) {
        return true;
    }
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    return start == 0 && !current.contains(QLatin1Char('+')) && !current.contains(QLatin1Char('-'));
}

void FrequencyEdit::PasteLimited(QClipboard::Mode mode) {
    if (isReadOnly()) {
        return;
    }
    QString pasted = QGuiApplication::clipboard()->text(mode);
    const auto lineEnd = pasted.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    if (lineEnd >= 0) {
        pasted.truncate(lineEnd);
    }
    // A middle click inserts the selection clipboard at the caret, as Qt does, without
    // replacing what is selected.
    if (mode == QClipboard::Selection) {
        deselect();
    } else if (hasSelectedText()) {
        del();
    }
    const auto room = kMaxTypedLength - text().size();
    if (room > 0) {
        insert(pasted.left(room));
    }
}

void FrequencyEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        SystemBeep::Sound();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        PasteLimited();
        event->accept();
        return;
    }
    if (!TypesText(*event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    Type(event->text());
}

void FrequencyEdit::Type(const QString& typed) {
    const char16_t c = typed.front().unicode();
    const bool digit = c >= u'0' && c <= u'9';
    const bool sign = c == u'+' || c == u'-';
    if (typed.size() != 1 || !(digit || (sign && AcceptsSign()))) {
        SystemBeep::Sound();
        return;
    }
    // Typing over a selection removes it even when the new character no longer fits.
    if (hasSelectedText()) {
        del();
    }
    if (text().size() < kMaxTypedLength) {
        insert(typed);
    }
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
