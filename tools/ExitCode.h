// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vx40::tool {

// Scripts rely on these three values.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRefused = 1;  // data were refused: a frequency, a plan line, a file
inline constexpr int kExitUsage = 2;    // a wrong call, an unreadable input, a failed write

}  // namespace vx40::tool
