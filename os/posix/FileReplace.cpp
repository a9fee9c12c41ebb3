// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/FileReplace.h"

#include <csignal>

#include "os/posix/PathWalk.h"

namespace vx40 {

std::string ReplaceTargetPath(const std::string& path) {
    return posix::ResolveLinks(path).path;
}

void IgnoreFileSizeLimitSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace vx40
