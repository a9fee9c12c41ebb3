// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vx40 {

// Why a file could not be opened for reading, as a short German text for a message ("sie
// existiert nicht", "das ist ein Ordner", ...), from the error number of the read.
std::string FileReadFailureReason(int error);

}  // namespace vx40
