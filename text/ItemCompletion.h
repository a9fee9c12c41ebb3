// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/FieldEdit.h"

namespace vx40 {

// The completion of a prescaler box: the text before the selection (or the caret) plus the typed
// character is looked up, letter case ignored, as the start of an item, in list order. The first
// item that starts so becomes the whole text, with the rest after the typed part selected and
// the caret in front of it. None when no item starts so: the character is typed as usual.
// Letter case is compared for ASCII letters only; the items are digits.
std::optional<FieldEdit> CompleteFromItems(const FieldState& field, std::string_view typed,
                                           const std::vector<std::string>& items);

}  // namespace vx40
