// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "os/FileReplace.h"
#include "os/ReplaceFailure.h"
#include "os/posix/NewFile.h"
#include "os/posix/ReplaceState.h"
#include "os/posix/TerminationSignalsHeld.h"

namespace vx40 {

using replace::Failed;
using replace::FailedWith;

ReplaceState::ReplaceState(FileDescriptor folderFd, std::string targetName, SyncToDisk syncToDisk)
    : folder(std::move(folderFd)), name(std::move(targetName)), unnamed(-1), sync(syncToDisk) {}

ReplaceState::~ReplaceState() {
    if (!committed && !tempName.empty()) {
        ::unlinkat(folder.Get(), tempName.c_str(), 0);
    }
}

Status ReplaceState::NameNewFile() {
    if (committed) {
        return Failed(FailureKind::WriteFailed, EALREADY);
    }
    if (unnamed.Get() < 0 || !replacesExisting) {
        return {};
    }
    int error = 0;
    tempName = posix::LinkUnderTempName(unnamed.Get(), folder.Get(), name, error);
    if (error == 0) {
        error = unnamed.Close();
    }
    if (error != 0) {
        committed = true;
        if (!tempName.empty()) {
            ::unlinkat(folder.Get(), tempName.c_str(), 0);
        }
        tempName.clear();
        return FailedWith(error);
    }
    return {};
}

Status ReplaceState::PutInPlace() {
    if (committed) {
        return Failed(FailureKind::WriteFailed, EALREADY);
    }
    committed = true;
    if (unnamed.Get() >= 0) {
        // A new target needs no temporary name at all: the complete file simply appears. A file
        // that appeared under that name since the preparation is replaced as any other.
        int error = posix::LinkUnnamedFile(unnamed.Get(), folder.Get(), name);
        if (error == EEXIST) {
            tempName = posix::LinkUnderTempName(unnamed.Get(), folder.Get(), name, error);
        }
        if (error != 0) {
            return FailedWith(error);
        }
        if (tempName.empty()) {
            if (const int closeError = unnamed.Close(); closeError != 0) {
                ::unlinkat(folder.Get(), name.c_str(), 0);
                return FailedWith(closeError);
            }
            return {};
        }
    }
    if (::renameat(folder.Get(), tempName.c_str(), folder.Get(), name.c_str()) != 0) {
        const int error = errno;
        ::unlinkat(folder.Get(), tempName.c_str(), 0);
        tempName.clear();
        return FailedWith(error);
    }
    tempName.clear();
    return {};
}

void ReplaceState::SyncFolder() const {
    if (sync == SyncToDisk::No) {
        return;
    }
    const int fd = ::openat(folder.Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        // The file itself is already complete and in place; a folder that cannot be flushed
        // changes nothing the caller could act on.
        ::fsync(fd);
        ::close(fd);
    }
}

PreparedReplace::PreparedReplace(Status failure) : result_(std::move(failure)) {}

PreparedReplace::PreparedReplace(std::unique_ptr<ReplaceState> state) : state_(std::move(state)) {}

PreparedReplace::PreparedReplace(PreparedReplace&& other) noexcept = default;

PreparedReplace::~PreparedReplace() = default;

Status PreparedReplace::Commit() {
    if (!result_.Ok()) {
        return result_;
    }
    if (state_ == nullptr) {
        return Failed(FailureKind::WriteFailed, EALREADY);
    }
    Status installed;
    {
        // Between its hidden name and the rename, only SIGKILL can leave the new file behind.
        const posix::TerminationSignalsHeld held;
        installed = state_->NameNewFile();
        if (installed.Ok()) {
            installed = state_->PutInPlace();
        }
    }
    if (installed.Ok()) {
        state_->SyncFolder();
    }
    return installed;
}

ReplacePairResult CommitReplacePair(PreparedReplace& first, PreparedReplace& second) {
    ReplacePairResult result;
    if (!first.Ok() || !second.Ok()) {
        result.first = first.Ok() ? second.Outcome() : first.Outcome();
        return result;
    }
    if (first.state_ == nullptr || second.state_ == nullptr) {
        result.first = Failed(FailureKind::WriteFailed, EALREADY);
        return result;
    }
    {
        const posix::TerminationSignalsHeld held;
        result.first = first.state_->NameNewFile();
        if (result.first.Ok()) {
            result.first = second.state_->NameNewFile();
        }
        if (result.first.Ok()) {
            result.first = first.state_->PutInPlace();
        }
        if (!result.first.Ok()) {
            return result;
        }
        result.second = second.state_->PutInPlace();
    }
    first.state_->SyncFolder();
    if (result.second.Ok()) {
        second.state_->SyncFolder();
    }
    return result;
}

}  // namespace vx40
