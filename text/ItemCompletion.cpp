// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/ItemCompletion.h"

#include "text/CharacterRules.h"

namespace vx40 {

std::optional<FieldEdit> CompleteFromItems(const FieldState& field, std::string_view typed,
                                           const std::vector<std::string>& items) {
    const std::size_t start = field.selectionLength > 0 ? field.selectionStart : field.caret;
    const std::string wanted =
        AsciiLowered(field.text.substr(0, Utf8Offset(field.text, start)) + std::string(typed));
    for (const std::string& item : items) {
        if (AsciiLowered(std::string_view(item).substr(0, wanted.size())) != wanted) {
            continue;
        }
        // Replaced whole, so that a front end's undo gives back the text before.
        FieldEdit edit = Replaced(field, 0, Utf16Length(field.text), item);
        const std::size_t typedEnd = Utf16Length(wanted);
        edit.after.caret = typedEnd;
        edit.after.selectionStart = typedEnd;
        edit.after.selectionLength = Utf16Length(item) - typedEnd;
        return edit;
    }
    return std::nullopt;
}

}  // namespace vx40
