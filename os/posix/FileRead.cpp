// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/FileRead.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "os/posix/FileDescriptor.h"

namespace vx40 {

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;

Failure ReadFailure(const std::string& path, int error) {
    return Failure{FailureKind::ReadFailed, error, path};
}

int CheckKind(const struct stat& st, ReadableFiles kinds) {
    if (S_ISDIR(st.st_mode)) {
        return EISDIR;
    }
    if (kinds == ReadableFiles::RegularOnly && !S_ISREG(st.st_mode)) {
        return EINVAL;
    }
    return 0;
}

// The file opened for reading, once it is of the kinds wanted.
Result<FileDescriptor> OpenToRead(const std::string& path, ReadableFiles kinds) {
    // A device is not even opened when only regular files are wanted: opening one can act.
    if (kinds == ReadableFiles::RegularOnly) {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0) {
            return ReadFailure(path, errno);
        }
        if (const int error = CheckKind(st, kinds); error != 0) {
            return ReadFailure(path, error);
        }
    }
    const int blocking = kinds == ReadableFiles::AnyWaitingForInput ? 0 : O_NONBLOCK;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC | blocking));
    if (fd.Get() < 0) {
        return ReadFailure(path, errno);
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) {
        return ReadFailure(path, errno);
    }
    if (const int error = CheckKind(st, kinds); error != 0) {
        return ReadFailure(path, error);
    }
    return fd;
}

}  // namespace

Status ReadFileChunks(const std::string& path, std::size_t maxBytes, ReadableFiles kinds,
                      const std::function<bool(std::string_view)>& consume) {
    const Result<FileDescriptor> fd = OpenToRead(path, kinds);
    if (!fd.Ok()) {
        return fd.Error();
    }
    std::array<char, kChunkSize> buffer;
    std::size_t left = maxBytes;
    while (left > 0) {
        const ssize_t count = ::read(fd->Get(), buffer.data(), std::min(left, buffer.size()));
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                break;  // nothing there now: a FIFO or device without data ends here
            }
            return ReadFailure(path, errno);
        }
        if (count == 0) {
            break;
        }
        left -= static_cast<std::size_t>(count);
        if (!consume(std::string_view(buffer.data(), static_cast<std::size_t>(count)))) {
            break;
        }
    }
    return {};
}

}  // namespace vx40
