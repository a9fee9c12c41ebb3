// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CrystalSpinEdit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

#include "app/SystemBeep.h"
#include "app/TypedText.h"
#include "channel/ChannelConstants.h"

namespace vx40 {
namespace {

constexpr int kIncrement = 1000000;

}  // namespace

CrystalSpinEdit::CrystalSpinEdit(QWidget* parent) : QSpinBox(parent) {
    setRange(kMinCrystalHz, kMaxCrystalHz);
    setSingleStep(kIncrement);
    setValue(vx40::kCrystalHz);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The edit part refuses text changes; the spin box itself stays enabled so that its buttons
    // still answer, with a beep.
    lineEdit()->setReadOnly(true);
}

void CrystalSpinEdit::stepBy(int) {
    SystemBeep::Sound();
}

QAbstractSpinBox::StepEnabled CrystalSpinEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

void CrystalSpinEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) {
        event->accept();
        return;
    }
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            event->accept();
            SystemBeep::Sound();
            return;
        default:
            break;
    }
    if (TypesText(*event)) {
        event->accept();
        SystemBeep::Sound();
        return;
    }
    QSpinBox::keyPressEvent(event);
}

void CrystalSpinEdit::wheelEvent(QWheelEvent* event) {
    event->accept();
    SystemBeep::Sound();
}

}  // namespace vx40
