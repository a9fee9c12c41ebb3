// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <utility>

#include "os/FileReplace.h"
#include "os/ReplaceFailure.h"
#include "os/posix/NewFile.h"
#include "os/posix/PathWalk.h"
#include "os/posix/ReplaceState.h"
#include "os/posix/TempNames.h"

namespace vx40 {

namespace {

using posix::ResolvedTarget;
using replace::Failed;
using replace::FailedWith;

// The refusals that the walk to the target decides on its own.
Status CheckTarget(const ResolvedTarget& target) {
    if (target.linkNotFollowed) {
        return Failure{FailureKind::LinkNotFollowed, target.error, target.untrustedLink};
    }
    if (target.error != 0) {
        return FailedWith(target.error);
    }
    if (target.mustBeFolder) {
        return Failed(FailureKind::NotRegularFile, EISDIR);
    }
    if (target.status.has_value()) {
        if (!S_ISREG(target.status->st_mode)) {
            return Failed(FailureKind::NotRegularFile,
                          S_ISDIR(target.status->st_mode) ? EISDIR : EINVAL);
        }
        if (!posix::IsTrustedIn(*target.status, target.folderStatus)) {
            return Failed(FailureKind::ForeignFile, EPERM);
        }
    }
    return {};
}

// The target's folder, opened as the very folder that was checked: every step from here works
// in it, even if a name on the way to it is swapped meanwhile.
Result<FileDescriptor> OpenCheckedFolder(const ResolvedTarget& target) {
    FileDescriptor folder(::open(target.folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() < 0) {
        return FailedWith(errno);
    }
    struct stat opened {};
    if (::fstat(folder.Get(), &opened) != 0 || opened.st_dev != target.folderStatus.st_dev ||
        opened.st_ino != target.folderStatus.st_ino) {
        return Failed(FailureKind::WriteFailed, EAGAIN);
    }
    return folder;
}

// An existing target that may not be written: by access() for the effective user, or because no
// write bit is set at all, which also stops root.
Status CheckWritable(int folderFd, const ResolvedTarget& target) {
    if (!target.status.has_value()) {
        return {};
    }
    if ((target.status->st_mode & 0222) == 0) {
        return Failed(FailureKind::TargetReadOnly, EACCES);
    }
    if (::faccessat(folderFd, target.name.c_str(), W_OK, AT_EACCESS) != 0) {
        const int error = errno;
        return Failed(error == ENOENT ? FailureKind::FolderMissing : FailureKind::TargetReadOnly,
                      error);
    }
    return {};
}

// Writes the complete new file beside the target into state: unnamed where the file system makes
// such files, else under a hidden temporary name, which the state removes again on a failure.
Status WriteNewFile(ReplaceState& state, std::string_view content,
                    const std::optional<struct stat>& old) {
    FileDescriptor unnamed(
        ::openat(state.folder.Get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (unnamed.Get() >= 0 && posix::CanNameUnnamedFile(unnamed.Get())) {
        if (const int error = posix::FillNewFile(unnamed.Get(), content, old, state.sync);
            error != 0) {
            return FailedWith(error);
        }
        // Even the hidden temporary name waits for the commit, so that a program ended before it
        // leaves nothing behind.
        state.unnamed = std::move(unnamed);
        state.replacesExisting = old.has_value();
        return {};
    }
    // Until it has its final mode, only its owner may open the file: a mode more open than the
    // old file's would let another user open it now and read the content through that later. A
    // new file is made with the final mode at once.
    int error = 0;
    FileDescriptor fd = posix::CreateUnderTempName(
        state.folder.Get(), state.name, old.has_value() ? 0600 : 0666, state.tempName, error);
    if (fd.Get() < 0) {
        return FailedWith(error);
    }
    error = posix::FillNewFile(fd.Get(), content, old, state.sync);
    if (const int closeError = fd.Close(); error == 0) {
        error = closeError;
    }
    return error == 0 ? Status{} : Status{FailedWith(error)};
}

}  // namespace

PreparedReplace PrepareReplace(const std::string& path, std::string_view content, SyncToDisk sync) {
    if (path.empty()) {
        return PreparedReplace(Failed(FailureKind::FolderMissing, ENOENT));
    }
    const ResolvedTarget target = posix::ResolveLinks(path);
    if (Status checked = CheckTarget(target); !checked.Ok()) {
        return PreparedReplace(std::move(checked));
    }
    Result<FileDescriptor> folder = OpenCheckedFolder(target);
    if (!folder.Ok()) {
        return PreparedReplace(folder.Error());
    }
    if (Status writable = CheckWritable(folder->Get(), target); !writable.Ok()) {
        return PreparedReplace(std::move(writable));
    }
    posix::RemoveLeftoverTempFiles(folder->Get(), target.name);
    auto state = std::make_unique<ReplaceState>(std::move(folder).Value(), target.name, sync);
    if (Status written = WriteNewFile(*state, content, target.status); !written.Ok()) {
        return PreparedReplace(std::move(written));
    }
    return PreparedReplace(std::move(state));
}

}  // namespace vx40
