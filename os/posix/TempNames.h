// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vx40::posix {

// How often a replace tries a fresh temporary name before it gives up.
constexpr int kTempNameAttempts = 100;

// A hidden temporary name beside the target of this name, ".NAME.PID-COUNTER-TICKS-ATTEMPT.tmp"
// with the name cut short to stay within NAME_MAX; fresh for each call within the process.
std::string TempName(const std::string& name, int attempt);

// A killed replace can leave its named temporary file beside the target. Such a file of an
// earlier replace of this target is removed once its process no longer runs: only a regular
// file of the user, under exactly such a name, never through a link.
void RemoveLeftoverTempFiles(int folderFd, const std::string& name);

}  // namespace vx40::posix
