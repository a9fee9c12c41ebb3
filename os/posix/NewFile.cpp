// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/posix/NewFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "os/posix/TempNames.h"

namespace vx40::posix {

namespace {

int WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

std::string ProcFdPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace

int FillNewFile(int fd, std::string_view content, const std::optional<struct stat>& old,
                SyncToDisk sync) {
    if (old.has_value()) {
        // Only root may hand the file back to its owner; a member of the file's group may still
        // give it back its group. The owner goes first, since changing it clears set-id bits.
        if ((old->st_uid != ::geteuid() || old->st_gid != ::getegid()) &&
            ::fchown(fd, old->st_uid, old->st_gid) != 0 && old->st_gid != ::getegid()) {
            [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
        }
        if (::fchmod(fd, old->st_mode & 07777) != 0) {
            return errno;
        }
    }
    if (const int error = WriteAll(fd, content); error != 0) {
        return error;
    }
    if (sync == SyncToDisk::Yes && ::fsync(fd) != 0) {
        return errno;
    }
    return 0;
}

bool CanNameUnnamedFile(int fd) {
    return ::access(ProcFdPath(fd).c_str(), F_OK) == 0 || ::geteuid() == 0;
}

int LinkUnnamedFile(int fd, int folderFd, const std::string& name) {
    if (::linkat(AT_FDCWD, ProcFdPath(fd).c_str(), folderFd, name.c_str(), AT_SYMLINK_FOLLOW) ==
        0) {
        return 0;
    }
    if (errno != ENOENT) {
        return errno;
    }
    // Without /proc; this way needs the right to look up any file, which root has.
    return ::linkat(fd, "", folderFd, name.c_str(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

std::string LinkUnderTempName(int fd, int folderFd, const std::string& name, int& error) {
    error = EEXIST;
    for (int attempt = 0; attempt < kTempNameAttempts && error == EEXIST; ++attempt) {
        std::string tempName = TempName(name, attempt);
        error = LinkUnnamedFile(fd, folderFd, tempName);
        if (error == 0) {
            return tempName;
        }
    }
    return {};
}

FileDescriptor CreateUnderTempName(int folderFd, const std::string& name, mode_t mode,
                                   std::string& tempName, int& error) {
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        tempName = TempName(name, attempt);
        const int fd = ::openat(folderFd, tempName.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0) {
            return FileDescriptor(fd);
        }
        error = errno;
        tempName.clear();
        if (error != EEXIST && error != EINTR) {
            return FileDescriptor(-1);
        }
    }
    error = EEXIST;
    return FileDescriptor(-1);
}

}  // namespace vx40::posix
