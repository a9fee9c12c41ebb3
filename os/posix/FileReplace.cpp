// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/FileReplace.h"

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>

namespace vx40 {

namespace {

// The kernel's own limit on links followed in one path lookup.
constexpr int kMaxLinkHops = 40;
// Keeps the temporary name within NAME_MAX for any target name.
constexpr std::size_t kTempBaseLength = 64;
constexpr int kTempNameAttempts = 100;
constexpr std::string_view kTempSuffix = ".tmp";
// The number groups after the target's name: PID-COUNTER-TICKS-ATTEMPT.
constexpr int kTempNumberCount = 4;

Status Failed(FailureKind kind, int error) {
    return Failure{kind, error};
}

Status FailedWith(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return Failed(FailureKind::FolderMissing, error);
        case EACCES:
        case EPERM:
        case EROFS:
            return Failed(FailureKind::FolderNotWritable, error);
        case ENOSPC:
        case EDQUOT:
            return Failed(FailureKind::DiskFull, error);
        case EFBIG:
            return Failed(FailureKind::FileTooLarge, error);
        case EISDIR:
            return Failed(FailureKind::NotRegularFile, error);
        default:
            return Failed(FailureKind::WriteFailed, error);
    }
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The names of a path text in order, without empty ones and "."; mustBeFolder when the text
// ends in "/" or "/.", which only a folder can satisfy.
std::deque<std::string> Components(std::string_view text, bool& mustBeFolder) {
    mustBeFolder = text == "." || text.ends_with('/') || text.ends_with("/.");
    std::deque<std::string> names;
    while (!text.empty()) {
        const std::size_t slash = text.find('/');
        const std::string_view name = text.substr(0, slash);
        text = slash == std::string_view::npos ? std::string_view{} : text.substr(slash + 1);
        if (!name.empty() && name != ".") {
            names.emplace_back(name);
        }
    }
    return names;
}

// Everyone may make a file in such a folder, so anyone may have planted a name in it.
bool IsSharedStickyFolder(const struct stat& folder) {
    return (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
}

// In a sticky folder that everyone may write to, anyone may plant a link or a file under a name
// that another user is about to write; it is only trusted when it belongs to the user or to the
// folder's owner.
bool IsTrustedIn(const struct stat& entry, const struct stat& folder) {
    return entry.st_uid == ::geteuid() || !IsSharedStickyFolder(folder) ||
           entry.st_uid == folder.st_uid;
}

struct ResolvedTarget {
    std::string path;
    std::string folder;                 // the folder that holds it, "." for the current one
    std::string name;                   // its name in that folder
    struct stat folderStatus {};        // as the folder was checked
    std::optional<struct stat> status;  // none: no file of that name yet
    int error = 0;
    bool mustBeFolder = false;
    bool linkNotFollowed = false;
    std::string untrustedLink;  // the link not followed, when it is not the path itself
};

// Walks the path name by name with lstat and follows each symbolic link on the way, in the
// folders as well as at the end, judging each by the folder it lies in; a relative link target
// counts from the folder of the link.
ResolvedTarget ResolveLinks(const std::string& path) {
    ResolvedTarget target;
    std::deque<std::string> rest = Components(path, target.mustBeFolder);
    std::string folder = !path.empty() && path.front() == '/' ? "/" : "";
    int hops = 0;
    const auto remaining = [&](std::string at) {
        for (const std::string& name : rest) {
            at = Join(at, name);
        }
        return at;
    };
    while (!rest.empty()) {
        const std::string name = std::move(rest.front());
        rest.pop_front();
        const std::string candidate = Join(folder, name);
        const std::string folderPath = folder.empty() ? "." : folder;
        struct stat st {};
        if (::lstat(candidate.c_str(), &st) != 0) {
            target.error = errno;
            target.path = remaining(candidate);
            if (target.error == ENOENT && rest.empty()) {
                // A new file; its folder is checked below.
                target.error = 0;
                target.folder = folderPath;
                target.name = name;
                break;
            }
            return target;
        }
        if (S_ISLNK(st.st_mode)) {
            struct stat folderStatus {};
            if (::stat(folderPath.c_str(), &folderStatus) != 0 || !IsTrustedIn(st, folderStatus)) {
                target.linkNotFollowed = true;
                target.error = EACCES;
                target.path = remaining(candidate);
                if (hops > 0 || !rest.empty()) {
                    target.untrustedLink = candidate;
                }
                return target;
            }
            if (++hops > kMaxLinkHops) {
                target.error = ELOOP;
                target.path = remaining(candidate);
                return target;
            }
            std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
            const ssize_t length = ::readlink(candidate.c_str(), link.data(), link.size());
            if (length < 0 || static_cast<std::size_t>(length) >= link.size()) {
                // Gone, or changed while it was read: look at the same name again.
                if (length < 0 && errno != ENOENT && errno != EINVAL) {
                    target.error = errno;
                    target.path = remaining(candidate);
                    return target;
                }
                rest.push_front(name);
                continue;
            }
            link.resize(static_cast<std::size_t>(length));
            if (link.empty()) {
                target.error = ENOENT;
                target.path = remaining(candidate);
                return target;
            }
            bool linkMustBeFolder = false;
            std::deque<std::string> linked = Components(link, linkMustBeFolder);
            if (rest.empty()) {
                target.mustBeFolder = target.mustBeFolder || linkMustBeFolder;
            }
            rest.insert(rest.begin(), linked.begin(), linked.end());
            if (link.front() == '/') {
                folder = "/";
            }
            continue;
        }
        if (!rest.empty() && !S_ISDIR(st.st_mode)) {
            target.error = ENOTDIR;
            target.path = remaining(candidate);
            return target;
        }
        folder = candidate;
        if (rest.empty()) {
            target.path = candidate;
            target.status = st;
            target.folder = folderPath;
            target.name = name;
        }
    }
    if (target.name.empty()) {
        // The path names a folder itself, such as "/" or ".".
        target.path = folder.empty() ? "." : folder;
        target.mustBeFolder = true;
        return target;
    }
    if (::stat(target.folder.c_str(), &target.folderStatus) != 0) {
        target.error = errno;
    }
    return target;
}

// How every temporary name for a target of this name starts: ".NAME." with the name cut short.
// Built by appending: GCC 12 warns -Wrestrict, wrongly, on a literal + std::string at -O2 and up.
std::string TempNamePrefix(const std::string& name) {
    std::string prefix(1, '.');
    prefix.append(name, 0, kTempBaseLength).push_back('.');
    return prefix;
}

std::string TempName(const std::string& name, int attempt) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    std::string temp = TempNamePrefix(name);
    temp.append(std::to_string(::getpid())).append(1, '-').append(std::to_string(counter++));
    temp.append(1, '-').append(std::to_string(ticks % 1000000007ULL)).append(1, '-');
    temp.append(std::to_string(attempt)).append(kTempSuffix);
    return temp;
}

// The process id in a name that TempName made for a target of this name, none for any other.
std::optional<pid_t> TempNameProcess(std::string_view entry, const std::string& name) {
    const std::string prefix = TempNamePrefix(name);
    if (!entry.starts_with(prefix) || !entry.ends_with(kTempSuffix)) {
        return std::nullopt;
    }
    entry.remove_prefix(prefix.size());
    entry.remove_suffix(kTempSuffix.size());
    pid_t process = 0;
    for (int number = 0; number < kTempNumberCount; ++number) {
        if (number > 0) {
            if (!entry.starts_with('-')) {
                return std::nullopt;
            }
            entry.remove_prefix(1);
        }
        if (entry.empty() || entry.front() < '0' || entry.front() > '9') {
            return std::nullopt;
        }
        unsigned long long value = 0;
        const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), value);
        if (error != std::errc{}) {
            return std::nullopt;
        }
        if (number == 0) {
            if (value == 0 || value > static_cast<unsigned long long>(INT32_MAX)) {
                return std::nullopt;
            }
            process = static_cast<pid_t>(value);
        }
        entry.remove_prefix(static_cast<std::size_t>(end - entry.data()));
    }
    if (!entry.empty()) {
        return std::nullopt;
    }
    return process;
}

// A killed replace can leave its named temporary file beside the target. Such a file of an
// earlier replace of this target is removed once its process no longer runs: only a regular
// file of the user, under exactly such a name, never through a link.
void RemoveLeftoverTempFiles(int folderFd, const std::string& name) {
    const int listFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0) {
        return;
    }
    DIR* const list = ::fdopendir(listFd);
    if (list == nullptr) {
        ::close(listFd);
        return;
    }
    while (const dirent* entry = ::readdir(list)) {
        const std::optional<pid_t> process = TempNameProcess(entry->d_name, name);
        if (!process.has_value() || *process == ::getpid() || ::kill(*process, 0) == 0 ||
            errno != ESRCH) {
            continue;
        }
        struct stat st {};
        if (::fstatat(folderFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) {
            ::unlinkat(folderFd, entry->d_name, 0);
        }
    }
    ::closedir(list);
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

std::string ProcFdPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// Whether an unnamed file can later be given a name: through /proc, or as root without it.
bool CanNameUnnamedFile(int fd) {
    return ::access(ProcFdPath(fd).c_str(), F_OK) == 0 || ::geteuid() == 0;
}

// Gives the unnamed file at fd the name in folderFd; returns the errno of a failure.
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

// Links the unnamed file under a fresh hidden temporary name; returns that name, or empty with
// the errno in error.
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

// SIGINT, SIGTERM and SIGHUP wait while this lives, and act as usual once it ends.
class TerminationSignalsHeld {
  public:
    TerminationSignalsHeld() {
        sigset_t held;
        sigemptyset(&held);
        sigaddset(&held, SIGINT);
        sigaddset(&held, SIGTERM);
        sigaddset(&held, SIGHUP);
        pthread_sigmask(SIG_BLOCK, &held, &previous_);
    }
    TerminationSignalsHeld(const TerminationSignalsHeld&) = delete;
    TerminationSignalsHeld& operator=(const TerminationSignalsHeld&) = delete;
    ~TerminationSignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }

  private:
    sigset_t previous_{};
};

}  // namespace

PreparedReplace::PreparedReplace(Status failure) : result_(std::move(failure)) {}

PreparedReplace::PreparedReplace(FileDescriptor folder, std::string name, SyncToDisk sync)
    : folder_(std::move(folder)), name_(std::move(name)), sync_(sync) {}

PreparedReplace::PreparedReplace(PreparedReplace&& other) noexcept
    : result_(std::move(other.result_)),
      folder_(std::move(other.folder_)),
      name_(std::move(other.name_)),
      tempName_(std::move(other.tempName_)),
      unnamed_(std::move(other.unnamed_)),
      sync_(other.sync_),
      committed_(other.committed_) {
    other.tempName_.clear();
    other.committed_ = true;
}

PreparedReplace::~PreparedReplace() {
    if (!committed_ && !tempName_.empty()) {
        ::unlinkat(folder_.Get(), tempName_.c_str(), 0);
    }
}

Status PreparedReplace::NameNewFile() {
    if (!result_.Ok() || committed_) {
        return result_.Ok() ? Failed(FailureKind::WriteFailed, EALREADY) : result_;
    }
    if (unnamed_.Get() < 0 || !replacesExisting_) {
        return {};
    }
    int error = 0;
    tempName_ = LinkUnderTempName(unnamed_.Get(), folder_.Get(), name_, error);
    if (error == 0) {
        error = unnamed_.Close();
    }
    if (error != 0) {
        committed_ = true;
        if (!tempName_.empty()) {
            ::unlinkat(folder_.Get(), tempName_.c_str(), 0);
        }
        tempName_.clear();
        return FailedWith(error);
    }
    return {};
}

Status PreparedReplace::PutInPlace() {
    if (committed_) {
        return Failed(FailureKind::WriteFailed, EALREADY);
    }
    committed_ = true;
    if (unnamed_.Get() >= 0) {
        // A new target needs no temporary name at all: the complete file simply appears. A file
        // that appeared under that name since the preparation is replaced as any other.
        int error = LinkUnnamedFile(unnamed_.Get(), folder_.Get(), name_);
        if (error == EEXIST) {
            tempName_ = LinkUnderTempName(unnamed_.Get(), folder_.Get(), name_, error);
        }
        if (error != 0) {
            return FailedWith(error);
        }
        if (tempName_.empty()) {
            if (const int closeError = unnamed_.Close(); closeError != 0) {
                ::unlinkat(folder_.Get(), name_.c_str(), 0);
                return FailedWith(closeError);
            }
            return {};
        }
    }
    if (::renameat(folder_.Get(), tempName_.c_str(), folder_.Get(), name_.c_str()) != 0) {
        const int error = errno;
        ::unlinkat(folder_.Get(), tempName_.c_str(), 0);
        tempName_.clear();
        return FailedWith(error);
    }
    tempName_.clear();
    return {};
}

void PreparedReplace::SyncFolder() const {
    if (sync_ == SyncToDisk::No) {
        return;
    }
    const int fd = ::openat(folder_.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        // The file itself is already complete and in place; a folder that cannot be flushed
        // changes nothing the caller could act on.
        ::fsync(fd);
        ::close(fd);
    }
}

Status PreparedReplace::Commit() {
    Status installed;
    {
        // Between its hidden name and the rename, only SIGKILL can leave the new file behind.
        const TerminationSignalsHeld held;
        installed = NameNewFile();
        if (installed.Ok()) {
            installed = PutInPlace();
        }
    }
    if (installed.Ok()) {
        SyncFolder();
    }
    return installed;
}

PreparedReplace PrepareReplace(const std::string& path, std::string_view content, SyncToDisk sync) {
    if (path.empty()) {
        return PreparedReplace(Failed(FailureKind::FolderMissing, ENOENT));
    }
    const ResolvedTarget target = ResolveLinks(path);
    if (target.linkNotFollowed) {
        return PreparedReplace(
            Failure{FailureKind::LinkNotFollowed, target.error, target.untrustedLink});
    }
    if (target.error != 0) {
        return PreparedReplace(FailedWith(target.error));
    }
    if (target.mustBeFolder) {
        return PreparedReplace(Failed(FailureKind::NotRegularFile, EISDIR));
    }
    if (target.status.has_value()) {
        if (!S_ISREG(target.status->st_mode)) {
            return PreparedReplace(Failed(FailureKind::NotRegularFile,
                                          S_ISDIR(target.status->st_mode) ? EISDIR : EINVAL));
        }
        if (!IsTrustedIn(*target.status, target.folderStatus)) {
            return PreparedReplace(Failed(FailureKind::ForeignFile, EPERM));
        }
    }

    // Every step from here works in the folder that was checked, even if a name on the way to
    // it is swapped meanwhile.
    FileDescriptor folder(::open(target.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    struct stat opened {};
    if (folder.Get() < 0) {
        return PreparedReplace(FailedWith(errno));
    }
    if (::fstat(folder.Get(), &opened) != 0 || opened.st_dev != target.folderStatus.st_dev ||
        opened.st_ino != target.folderStatus.st_ino) {
        return PreparedReplace(Failed(FailureKind::WriteFailed, EAGAIN));
    }
    if (target.status.has_value()) {
        if ((target.status->st_mode & 0222) == 0) {
            return PreparedReplace(Failed(FailureKind::TargetReadOnly, EACCES));
        }
        if (::faccessat(folder.Get(), target.name.c_str(), W_OK, AT_EACCESS) != 0) {
            const int error = errno;
            return PreparedReplace(Failed(
                error == ENOENT ? FailureKind::FolderMissing : FailureKind::TargetReadOnly, error));
        }
    }
    RemoveLeftoverTempFiles(folder.Get(), target.name);

    PreparedReplace prepared(std::move(folder), target.name, sync);
    const int folderFd = prepared.folder_.Get();
    FileDescriptor unnamed(::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (unnamed.Get() >= 0 && CanNameUnnamedFile(unnamed.Get())) {
        if (const int error = FillNewFile(unnamed.Get(), content, target.status, sync);
            error != 0) {
            return PreparedReplace(FailedWith(error));
        }
        // Even the hidden temporary name waits for the commit, so that a program ended before it
        // leaves nothing behind.
        prepared.unnamed_ = std::move(unnamed);
        prepared.replacesExisting_ = target.status.has_value();
        return prepared;
    }

    // Until it has its final mode, only its owner may open the file: a mode more open than the
    // old file's would let another user open it now and read the content through that later. A
    // new file is made with the final mode at once.
    const mode_t createMode = target.status.has_value() ? 0600 : 0666;
    int rawFd = -1;
    for (int attempt = 0; attempt < kTempNameAttempts && rawFd < 0; ++attempt) {
        prepared.tempName_ = TempName(target.name, attempt);
        rawFd = ::openat(folderFd, prepared.tempName_.c_str(),
                         O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, createMode);
        if (rawFd < 0) {
            const int error = errno;
            prepared.tempName_.clear();
            if (error != EEXIST && error != EINTR) {
                return PreparedReplace(FailedWith(error));
            }
        }
    }
    if (rawFd < 0) {
        return PreparedReplace(FailedWith(EEXIST));
    }
    FileDescriptor fd(rawFd);
    int error = FillNewFile(fd.Get(), content, target.status, sync);
    if (const int closeError = fd.Close(); error == 0) {
        error = closeError;
    }
    if (error != 0) {
        return PreparedReplace(FailedWith(error));  // prepared removes the file
    }
    return prepared;
}

ReplacePairResult CommitReplacePair(PreparedReplace& first, PreparedReplace& second) {
    ReplacePairResult result;
    if (!first.Ok() || !second.Ok()) {
        result.first = first.Ok() ? second.Outcome() : first.Outcome();
        return result;
    }
    {
        const TerminationSignalsHeld held;
        result.first = first.NameNewFile();
        if (result.first.Ok()) {
            result.first = second.NameNewFile();
        }
        if (result.first.Ok()) {
            result.first = first.PutInPlace();
        }
        if (!result.first.Ok()) {
            return result;
        }
        result.second = second.PutInPlace();
    }
    first.SyncFolder();
    if (result.second.Ok()) {
        second.SyncFolder();
    }
    return result;
}

Status ReplaceFile(const std::string& path, std::string_view content, SyncToDisk sync) {
    PreparedReplace prepared = PrepareReplace(path, content, sync);
    if (!prepared.Ok()) {
        return prepared.Outcome();
    }
    return prepared.Commit();
}

std::string ReplaceTargetPath(const std::string& path) {
    return ResolveLinks(path).path;
}

void IgnoreFileSizeLimitSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace vx40
