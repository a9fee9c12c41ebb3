// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QKeyEvent;

namespace vx40 {

// Whether a line edit would type the key's text: every key that produces a printable character,
// whatever modifier is held (Qt types the character of an Alt or Meta chord too), except a Ctrl
// or Ctrl+Shift chord, which is an editing shortcut.
bool TypesText(const QKeyEvent& event);

}  // namespace vx40
