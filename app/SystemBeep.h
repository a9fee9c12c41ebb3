// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vx40 {

// The system beep, the only answer to input that a number field refuses. Counted, so that a test
// can tell that a refusal beeped and did nothing else.
class SystemBeep {
  public:
    static void Sound();
    static int Count();
};

}  // namespace vx40
