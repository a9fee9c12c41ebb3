// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/StandardStreams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vx40 {

void TakeClosedStandardStreams() {
    // The stand-in is /dev/null opened the other way round, so that a read of the output or a
    // write to the input fails as on a closed stream.
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF) {
            continue;
        }
        const int opened =
            ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);  // the lowest: fd
        if (opened >= 0 && opened != fd) {
            ::close(opened);
        }
    }
}

bool StandardInputReadable() {
    const int flags = ::fcntl(STDIN_FILENO, F_GETFL);
    return flags >= 0 && (flags & O_ACCMODE) != O_WRONLY;
}

std::string StandardInputPath() {
    return "/dev/stdin";
}

}  // namespace vx40
