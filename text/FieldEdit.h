// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vx40 {

// A one-line text field as the rules of typing see it. The text is UTF-8; positions and lengths
// count UTF-16 code units, as both the Qt window and the browser count them, so neither converts
// a position at its edge and a length limit means what it means there.
struct FieldState {
    std::string text;
    std::size_t caret = 0;
    std::size_t selectionStart = 0;   // where a selection starts; the caret is at one of its ends
    std::size_t selectionLength = 0;  // 0: nothing is selected
};

// What a rule makes of an input. When it changes the field, the change is one replacement, so
// that a front end can apply it through its own undoable editing: `removed` code units from
// `start` (the selection, or none at the caret) give way to `inserted`; a selection that is not
// removed is dropped. `after` is the field once the change is applied.
struct FieldEdit {
    bool beep = false;
    bool changes = false;
    std::size_t start = 0;
    std::size_t removed = 0;
    std::string inserted;
    FieldState after;
};

// The keys and gestures the fields' rules tell apart; each front end maps its own events to them.
enum class FieldKey {
    Text,   // a key that types a character
    Enter,  // Return or Enter
    Step,   // Up, Down, Page Up, Page Down, a spin button, the wheel
    Erase,  // Backspace, Delete
    Paste,
    Cut,
    Other,  // moving the caret, selecting, copying, undo, ...
};

enum class KeyAnswer {
    Own,     // the field's own handling
    Rule,    // the field's rule function decides (its typing filter, its paste)
    Beep,    // refused with the beep
    Ignore,  // refused silently
};

std::size_t Utf16Length(std::string_view text);

// The byte offset in UTF-8 text of a position counted in UTF-16 code units; the text's size
// when the position lies beyond it.
std::size_t Utf8Offset(std::string_view text, std::size_t position);

// The field with `removed` code units from `start` replaced by `inserted`, the caret behind the
// insertion and nothing selected.
FieldEdit Replaced(const FieldState& field, std::size_t start, std::size_t removed,
                   std::string_view inserted);

}  // namespace vx40
