// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/FrequencyFieldRules.h"

namespace vx40 {
namespace {

bool SelectsAll(const FieldState& field) {
    return field.selectionLength > 0 && field.selectionLength == Utf16Length(field.text);
}

bool AcceptsSign(const FieldState& field) {
    if (SelectsAll(field)) {
        return true;
    }
    const std::size_t start = field.selectionLength > 0 ? field.selectionStart : field.caret;
    return start == 0 && field.text.find_first_of("+-") == std::string::npos;
}

// As much of the text as fits into `room` code units without splitting a character.
std::string_view Fitting(std::string_view text, std::size_t room) {
    std::size_t end = Utf8Offset(text, room);
    if (Utf16Length(text.substr(0, end)) > room) {
        end = Utf8Offset(text, room - 1);  // the last character is a pair of code units
    }
    return text.substr(0, end);
}

// Replaces the selection (or drops it, with `keepSelection`) and inserts at its place as much of
// `inserted` as the limit leaves room for.
FieldEdit InsertWithinLimit(const FieldState& field, std::string_view inserted,
                            bool keepSelection) {
    const bool removes = field.selectionLength > 0 && !keepSelection;
    const std::size_t start = removes ? field.selectionStart : field.caret;
    const std::size_t removed = removes ? field.selectionLength : 0;
    const std::size_t length = Utf16Length(field.text) - removed;
    const std::size_t room =
        length < kFrequencyMaxTypedLength ? kFrequencyMaxTypedLength - length : 0;
    return Replaced(field, start, removed, Fitting(inserted, room));
}

}  // namespace

KeyAnswer FrequencyFieldAnswer(FieldKey key) {
    switch (key) {
        case FieldKey::Enter:
            return KeyAnswer::Beep;
        case FieldKey::Text:
        case FieldKey::Paste:
            return KeyAnswer::Rule;
        default:
            return KeyAnswer::Own;
    }
}

FieldEdit TypeIntoFrequencyField(const FieldState& field, std::string_view typed) {
    const char c = typed.size() == 1 ? typed.front() : '\0';
    const bool digit = c >= '0' && c <= '9';
    const bool sign = c == '+' || c == '-';
    if (!digit && !(sign && AcceptsSign(field))) {
        FieldEdit refused;
        refused.beep = true;
        refused.after = field;
        return refused;
    }
    return InsertWithinLimit(field, typed, false);
}

FieldEdit PasteIntoFrequencyField(const FieldState& field, std::string_view pasted,
                                  bool keepSelection) {
    return InsertWithinLimit(field, pasted.substr(0, pasted.find_first_of("\r\n")), keepSelection);
}

}  // namespace vx40
