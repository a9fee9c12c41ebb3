// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "text/FieldEdit.h"

namespace vx40 {

// Typing or pasting never makes the frequency field's text longer than this; a formatted text
// may be longer.
inline constexpr std::size_t kFrequencyMaxTypedLength = 6;

// Enter beeps; typed characters and paste go through the rules below; everything else is the
// field's own editing.
KeyAnswer FrequencyFieldAnswer(FieldKey key);

// One typed character. A digit passes anywhere; "+" or "-" only at the start of a text without
// a sign, or over the whole text; everything else beeps (a text of more than one character
// too). A passing character replaces the selection and is inserted only while the text is
// shorter than the limit; the selection goes even when the character no longer fits.
FieldEdit TypeIntoFrequencyField(const FieldState& field, std::string_view typed);

// Pasted text, not filtered: the first line of it, as far as the limit leaves room, never half a
// character. It replaces the selection, or with `keepSelection` (the selection clipboard of a
// middle click) goes in at the caret and the selection is dropped.
FieldEdit PasteIntoFrequencyField(const FieldState& field, std::string_view pasted,
                                  bool keepSelection);

}  // namespace vx40
