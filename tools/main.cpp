// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>

#include "os/FileReplace.h"
#include "tools/ToolApplication.h"

namespace {

// A closed standard stream would hand its number to the next file the tool opens: a message
// would then be written into an image being replaced. Each gets /dev/null opened the other way
// round instead, so that the number stays taken and every use of the stream still fails as if
// it were closed.
void TakeClosedStandardStreams() {
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

}  // namespace

int main(int argc, char** argv) {
    TakeClosedStandardStreams();
    vx40::IgnoreFileSizeLimitSignal();
    return vx40::tool::RunTool(argc, argv, std::cout, std::cerr);
}
