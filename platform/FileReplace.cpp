#include "platform/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <optional>

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

struct ResolvedTarget {
    std::string path;
    std::optional<struct stat> status;  // none: no file of that name yet
    int error = 0;
};

// Follows symbolic links until a name that is no link or does not exist; a relative link target
// counts from the folder of the link.
ResolvedTarget ResolveLinks(const std::string& path) {
    ResolvedTarget target{path, std::nullopt, 0};
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

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        // The file itself is already complete and in place; a folder that cannot be flushed
        // changes nothing the caller could act on.
        ::fsync(fd);
        ::close(fd);
    }
}

// The new content in its temporary file; the file is closed, or removed again on failure.
FileReplaceResult WriteTemp(int fd, const std::string& tempPath, std::string_view content,
                            const std::optional<struct stat>& old, SyncToDisk sync) {
    int error = 0;
    if (old.has_value()) {
        if (::fchmod(fd, old->st_mode & 07777) != 0) {
            error = errno;
        } else if (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) {
            // Only root may hand the file back to its owner; everyone else keeps the new owner.
            [[maybe_unused]] const int ignored = ::fchown(fd, old->st_uid, old->st_gid);
        }
    }
    if (error == 0) {
        error = WriteAll(fd, content);
    }
    if (error == 0 && sync == SyncToDisk::Yes && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(tempPath.c_str());
        return FailedWith(error);
    }
    return {};
}

}  // namespace

FileReplaceResult ReplaceFile(const std::string& path, std::string_view content, SyncToDisk sync) {
    if (path.empty()) {
        return Failed(FileReplaceFailure::FolderMissing, ENOENT);
    }
    const ResolvedTarget target = ResolveLinks(path);
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

    std::string tempPath;
    int fd = -1;
    for (int attempt = 0; attempt < kTempNameAttempts && fd < 0; ++attempt) {
        tempPath = TempName(parts, attempt);
        fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno != EEXIST && errno != EINTR) {
            return FailedWith(errno);
        }
    }
    if (fd < 0) {
        return FailedWith(EEXIST);
    }

    if (const FileReplaceResult written = WriteTemp(fd, tempPath, content, target.status, sync);
        !written.Ok()) {
        return written;
    }
    if (::rename(tempPath.c_str(), target.path.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempPath.c_str());
        return FailedWith(error);
    }
    if (sync == SyncToDisk::Yes) {
        SyncFolder(parts.folder);
    }
    return {};
}

}  // namespace vx40
