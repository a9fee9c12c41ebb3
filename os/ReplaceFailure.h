// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Result.h"

namespace vx40::replace {

// Shared by the implementation of each system; not part of the interface.

// A failed step of a replace with the errno it gave.
Failure Failed(FailureKind kind, int error);

// The failure of a replace step that gave error, with the kind a message to the user needs.
Failure FailedWith(int error);

}  // namespace vx40::replace
