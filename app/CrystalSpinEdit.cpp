// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CrystalSpinEdit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

#include "app/SystemBeep.h"
#include "app/TypedText.h"
#include "channel/ChannelConstants.h"
#include "text/CrystalFieldRules.h"

namespace vx40 {
namespace {

constexpr int kIncrement = 1000000;

void SoundRefusal(KeyAnswer answer) {
    if (answer == KeyAnswer::Beep) {
        SystemBeep::Sound();
    }
}

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
    SoundRefusal(CrystalFieldAnswer(FieldKey::Step));
}

QAbstractSpinBox::StepEnabled CrystalSpinEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

void CrystalSpinEdit::keyPressEvent(QKeyEvent* event) {
    const KeyAnswer answer = CrystalFieldAnswer(FieldKeyOf(*event));
    if (answer == KeyAnswer::Own) {
        QSpinBox::keyPressEvent(event);
        return;
    }
    event->accept();
    SoundRefusal(answer);
}

void CrystalSpinEdit::wheelEvent(QWheelEvent* event) {
    event->accept();
    SoundRefusal(CrystalFieldAnswer(FieldKey::Step));
}

}  // namespace vx40
