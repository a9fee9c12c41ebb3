// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/FieldEdit.h"

namespace vx40 {

// The crystal field shows its value and refuses every change: a step (its spin buttons, the
// arrow and page keys, the wheel), a typed character, Backspace and Delete beep; paste and cut
// do nothing. Selecting and copying stay the field's own.
constexpr KeyAnswer CrystalFieldAnswer(FieldKey key) {
    switch (key) {
        case FieldKey::Step:
        case FieldKey::Text:
        case FieldKey::Erase:
            return KeyAnswer::Beep;
        case FieldKey::Paste:
        case FieldKey::Cut:
            return KeyAnswer::Ignore;
        default:
            return KeyAnswer::Own;
    }
}

}  // namespace vx40
