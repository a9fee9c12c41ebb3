// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <optional>

#include "platform/FileDescriptor.h"

namespace vx40 {

namespace {

// The kernel's own limit on links followed in one path lookup.
constexpr int kMaxLinkHops = 40;
// Keeps the temporary name within NAME_MAX for any target name.
constexpr std::size_t kTempBaseLength = 64;
constexpr int kTempNameAttempts = 100;

FileReplaceResult Failed(FileReplaceFailure failure, int error) {
    return {failure, error};
}

FileReplaceResult FailedWith(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return Failed(FileReplaceFailure::FolderMissing, error);
        case EACCES:
        case EPERM:
        case EROFS:
            return Failed(FileReplaceFailure::FolderNotWritable, error);
        case ENOSPC:
        case EDQUOT:
            return Failed(FileReplaceFailure::DiskFull, error);
        case EFBIG:
            return Failed(FileReplaceFailure::FileTooLarge, error);
        case EISDIR:
            return Failed(FileReplaceFailure::NotRegularFile, error);
        default:
            return Failed(FileReplaceFailure::Other, error);
    }
}

struct SplitPath {
    std::string folder;
    std::string name;
};

SplitPath Split(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

// In a sticky folder that everyone may write to, anyone may plant a link under a name that
// another user is about to write; such a link is only trusted when it belongs to the user or to
// the folder's owner.
bool MayFollowLink(const std::string& linkPath, const struct stat& link) {
    if (link.st_uid == ::geteuid()) {
        return true;
    }
    struct stat folder {};
    if (::stat(Split(linkPath).folder.c_str(), &folder) != 0) {
        return false;
    }
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || link.st_uid == folder.st_uid;
}

struct ResolvedTarget {
    std::string path;
    std::optional<struct stat> status;  // none: no file of that name yet
    int error = 0;
    bool linkNotFollowed = false;
};

// Follows symbolic links until a name that is no link or does not exist; a relative link target
// counts from the folder of the link.
ResolvedTarget ResolveLinks(const std::string& path) {
    ResolvedTarget target{path, std::nullopt, 0, false};
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(target.path.c_str(), &st) != 0) {
            if (errno != ENOENT) {
                target.error = errno;
            }
            return target;
        }
        if (!S_ISLNK(st.st_mode)) {
            target.status = st;
            return target;
        }
        if (!MayFollowLink(target.path, st)) {
            target.error = EACCES;
            target.linkNotFollowed = true;
            return target;
        }
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t length = ::readlink(target.path.c_str(), link.data(), link.size());
        if (length < 0) {
            target.error = errno;
            return target;
        }
        if (static_cast<std::size_t>(length) >= link.size()) {
            // The link changed while it was read; read it again.
            continue;
        }
        link.resize(static_cast<std::size_t>(length));
        if (link.empty()) {
            target.error = ENOENT;
            return target;
        }
        if (link.front() != '/') {
            link = Split(target.path).folder + "/" + link;
        }
        target.path = std::move(link);
    }
    target.error = ELOOP;
    return target;
}

std::string TempName(const SplitPath& target, int attempt) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    return target.folder + "/." + target.name.substr(0, kTempBaseLength) + "." +
           std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
           std::to_string(ticks % 1000000007ULL) + "-" + std::to_string(attempt) + ".tmp";
}

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

// Gives the new file what the old one had, then its content; returns the errno of a failure.
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

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        // The file itself is already complete and in place; a folder that cannot be flushed
        // changes nothing the caller could act on.
        ::fsync(fd);
        ::close(fd);
    }
}

// Gives the unnamed file at fd the name path; returns the errno of a failure.
int LinkUnnamedFile(int fd, const std::string& path) {
    const std::string procPath = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, procPath.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return 0;
    }
    if (errno != ENOENT) {
        return errno;
    }
    // Without /proc; this way needs the right to look up any file, which root has.
    return ::linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

// Renames the complete file at tempPath over the target, or removes it again.
FileReplaceResult RenameOver(const std::string& tempPath, const std::string& targetPath) {
    if (::rename(tempPath.c_str(), targetPath.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempPath.c_str());
        return FailedWith(error);
    }
    return {};
}

// None when the unnamed file cannot be made or named here; the named temporary file then does
// the whole work, and reports what fails for it as well.
std::optional<FileReplaceResult> ReplaceThroughUnnamedFile(const ResolvedTarget& target,
                                                           const SplitPath& parts,
                                                           std::string_view content,
                                                           SyncToDisk sync) {
    FileDescriptor fd(::open(parts.folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (fd.Get() < 0) {
        return std::nullopt;
    }
    if (const int error = FillNewFile(fd.Get(), content, target.status, sync); error != 0) {
        return FailedWith(error);
    }
    // A new target needs no temporary name at all: the complete file simply appears.
    std::string linkedPath = target.path;
    int error = target.status.has_value() ? EEXIST : LinkUnnamedFile(fd.Get(), linkedPath);
    for (int attempt = 0; attempt < kTempNameAttempts && error == EEXIST; ++attempt) {
        linkedPath = TempName(parts, attempt);
        error = LinkUnnamedFile(fd.Get(), linkedPath);
    }
    if (error != 0) {
        return std::nullopt;
    }
    if (const int closeError = fd.Close(); closeError != 0) {
        ::unlink(linkedPath.c_str());
        return FailedWith(closeError);
    }
    return linkedPath == target.path ? FileReplaceResult{} : RenameOver(linkedPath, target.path);
}

FileReplaceResult ReplaceThroughNamedFile(const ResolvedTarget& target, const SplitPath& parts,
                                          std::string_view content, SyncToDisk sync) {
    std::string tempPath;
    int rawFd = -1;
    for (int attempt = 0; attempt < kTempNameAttempts && rawFd < 0; ++attempt) {
        tempPath = TempName(parts, attempt);
        rawFd =
            ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (rawFd < 0 && errno != EEXIST && errno != EINTR) {
            return FailedWith(errno);
        }
    }
    if (rawFd < 0) {
        return FailedWith(EEXIST);
    }
    FileDescriptor fd(rawFd);
    int error = FillNewFile(fd.Get(), content, target.status, sync);
    if (const int closeError = fd.Close(); error == 0) {
        error = closeError;
    }
    if (error != 0) {
        ::unlink(tempPath.c_str());
        return FailedWith(error);
    }
    return RenameOver(tempPath, target.path);
}

}  // namespace

FileReplaceResult ReplaceFile(const std::string& path, std::string_view content, SyncToDisk sync) {
    if (path.empty()) {
        return Failed(FileReplaceFailure::FolderMissing, ENOENT);
    }
    const ResolvedTarget target = ResolveLinks(path);
    if (target.linkNotFollowed) {
        return Failed(FileReplaceFailure::LinkNotFollowed, target.error);
    }
    if (target.error != 0) {
        return FailedWith(target.error);
    }
    const SplitPath parts = Split(target.path);
    if (parts.name.empty()) {
        return Failed(FileReplaceFailure::NotRegularFile, EISDIR);
    }
    if (target.status.has_value()) {
        if (!S_ISREG(target.status->st_mode)) {
            return Failed(FileReplaceFailure::NotRegularFile,
                          S_ISDIR(target.status->st_mode) ? EISDIR : EINVAL);
        }
        if ((target.status->st_mode & 0222) == 0) {
            return Failed(FileReplaceFailure::TargetReadOnly, EACCES);
        }
        if (::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) {
            const int error = errno;
            return Failed(error == ENOENT ? FileReplaceFailure::FolderMissing
                                          : FileReplaceFailure::TargetReadOnly,
                          error);
        }
    }

    std::optional<FileReplaceResult> replaced =
        ReplaceThroughUnnamedFile(target, parts, content, sync);
    if (!replaced.has_value()) {
        replaced = ReplaceThroughNamedFile(target, parts, content, sync);
    }
    if (replaced->Ok() && sync == SyncToDisk::Yes) {
        SyncFolder(parts.folder);
    }
    return *replaced;
}

std::string ReplaceTargetPath(const std::string& path) {
    return ResolveLinks(path).path;
}

void IgnoreFileSizeLimitSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace vx40
