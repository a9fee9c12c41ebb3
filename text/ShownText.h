// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vx40 {

// A text from a file or an argument (a file name, a cell, a plan line) as a message or a table
// shows it, so that no such text can drive the terminal or turn the text around it: C0 controls
// (TAB, CR and LF among them), DEL, the C1 controls and bytes that are no UTF-8 as "\x1b" per
// byte, and the invisible format characters of Unicode (U+202E, U+FEFF, U+200B, ...) and the
// line and paragraph separators as "\u202e". Everything else, a backslash included, stays as it
// is. With maxCharacters, at most that many characters are kept (an escaped one counts as one),
// followed by "…" where the text went on.
std::string ShownText(std::string_view text, std::size_t maxCharacters = std::string_view::npos);

}  // namespace vx40
