// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/FieldEdit.h"

class QKeyEvent;
class QLineEdit;

namespace vx40 {

// Whether a line edit would type the key's text: every key that produces a printable character,
// whatever modifier is held (Qt types the character of an Alt or Meta chord too), except a Ctrl
// or Ctrl+Shift chord, which is an editing shortcut.
bool TypesText(const QKeyEvent& event);

// The key as the fields' rules tell keys apart.
FieldKey FieldKeyOf(const QKeyEvent& event);

// A line edit's text, caret and selection as the fields' rules take them; Qt counts positions in
// UTF-16 code units as the rules do.
FieldState FieldStateOf(const QLineEdit& edit);

}  // namespace vx40
