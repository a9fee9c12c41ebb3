// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/FieldEdit.h"

namespace vx40 {
namespace {

// The UTF-8 length of the sequence a byte starts: four bytes make a character beyond the first
// plane, two UTF-16 code units. A byte that starts no sequence counts alone.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    return lead >= 0xC0 ? 2u : 1u;
}

// The UTF-16 code units of the character a sequence encodes.
std::size_t UnitsOf(std::size_t sequenceLength) {
    return sequenceLength == 4 ? 2 : 1;
}

}  // namespace

std::size_t Utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t offset = 0; offset < text.size();) {
        const std::size_t length = SequenceLength(static_cast<unsigned char>(text[offset]));
        units += UnitsOf(length);
        offset += length;
    }
    return units;
}

std::size_t Utf8Offset(std::string_view text, std::size_t position) {
    std::size_t offset = 0;
    for (std::size_t units = 0; units < position && offset < text.size();) {
        const std::size_t length = SequenceLength(static_cast<unsigned char>(text[offset]));
        units += UnitsOf(length);
        offset += length;
    }
    return offset < text.size() ? offset : text.size();
}

FieldEdit Replaced(const FieldState& field, std::size_t start, std::size_t removed,
                   std::string_view inserted) {
    FieldEdit edit;
    edit.changes = true;
    edit.start = start;
    edit.removed = removed;
    edit.inserted = std::string(inserted);
    const std::size_t from = Utf8Offset(field.text, start);
    const std::size_t to = Utf8Offset(field.text, start + removed);
    edit.after.text = field.text.substr(0, from) + edit.inserted + field.text.substr(to);
    edit.after.caret = start + Utf16Length(inserted);
    return edit;
}

}  // namespace vx40
