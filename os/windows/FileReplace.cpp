// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing a file whole on Windows: the complete new file beside the target under a temporary
// name, flushed, then ReplaceFileW for an existing target (which keeps its attributes, security
// and creation time) or MoveFileExW for a new one. A file that another program holds open is
// refused before anything is written.
//
// What the POSIX implementation adds has no meaning here and is left out: the sticky-folder rule
// for links and other users' files, the group and permission bits of the old file, SIGXFSZ, and
// the termination signals held back during a commit (a console's Ctrl+C cannot be held back for a
// moment without changing what the process inherited). Links are not followed by the replace: a
// symbolic link is replaced by the new file. A temporary file that a killed process left behind
// stays until it is removed by hand.
#include "os/FileReplace.h"

#include <windows.h>
#undef ReplaceFile

#include <atomic>
#include <cerrno>
#include <string>
#include <utility>

#include "os/ReplaceFailure.h"
#include "os/windows/SystemCalls.h"

namespace vx40 {

using replace::Failed;
using replace::FailedWith;

namespace {

// How often a replace tries a fresh temporary name before it gives up.
constexpr int kTempNameAttempts = 100;
// The longest part of the target's name that goes into the temporary name.
constexpr std::size_t kTempNamePart = 100;
// WriteFile takes at most this many bytes at once.
constexpr std::size_t kWriteChunk = 1u << 30;

Failure FailedWithSystemError(DWORD error) {
    if (windows::IsFileInUse(error)) {
        return Failed(FailureKind::FileInUse, EBUSY);
    }
    return FailedWith(windows::ErrnoOf(error));
}

// The path made absolute: the temporary file and the target are then named in the same folder
// however the path was given ("name", ".\\name", "C:name"), and the system's replace call finds
// both. The path as it was where it cannot be made absolute.
std::wstring FullPath(const std::wstring& path) {
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return path;
    }
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) {
        return path;
    }
    full.resize(length);
    return full;
}

// Where the name of the file starts in a path: after the last "\", "/" or a drive's ":".
std::size_t NameStart(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/:");
    return separator == std::wstring::npos ? 0 : separator + 1;
}

// A hidden temporary name beside the target, ".NAME.PID-COUNTER-TICKS-ATTEMPT.tmp".
std::wstring TempPath(const std::wstring& target, int attempt) {
    static std::atomic<unsigned> counter{0};
    const std::size_t start = NameStart(target);
    return target.substr(0, start) + L"." + target.substr(start, kTempNamePart) + L"." +
           std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(counter++) + L"-" +
           std::to_wstring(::GetTickCount64()) + L"-" + std::to_wstring(attempt) + L".tmp";
}

// The refusals of an existing target: a folder, the read-only attribute, no right to write, a
// device, or a file that another program holds open and does not share for being replaced.
Status CheckExistingTarget(const std::wstring& target, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Failed(FailureKind::NotRegularFile, EISDIR);
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return Failed(FailureKind::TargetReadOnly, EACCES);
    }
    // Opened as the replace will open it: for writing and deleting, sharing everything.
    const windows::Handle file(::CreateFileW(target.c_str(), GENERIC_WRITE | DELETE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                             nullptr));
    if (!file.Valid()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED) {
            return Failed(FailureKind::TargetReadOnly, EACCES);
        }
        return FailedWithSystemError(error);
    }
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) {
        return Failed(FailureKind::NotRegularFile, EINVAL);
    }
    return {};
}

Status WriteAll(HANDLE file, std::string_view content, SyncToDisk sync) {
    while (!content.empty()) {
        const DWORD wanted = static_cast<DWORD>(std::min(content.size(), kWriteChunk));
        DWORD written = 0;
        if (!::WriteFile(file, content.data(), wanted, &written, nullptr)) {
            return FailedWithSystemError(::GetLastError());
        }
        content.remove_prefix(written);
    }
    if (sync == SyncToDisk::Yes && !::FlushFileBuffers(file)) {
        return FailedWithSystemError(::GetLastError());
    }
    return {};
}

}  // namespace

// A prepared replace on Windows: the complete new file under its temporary name beside the
// target, removed again unless it took the target's place.
struct ReplaceState {
    ReplaceState(std::wstring targetPath, bool existing)
        : target(std::move(targetPath)), replacesExisting(existing) {}
    ReplaceState(const ReplaceState&) = delete;
    ReplaceState& operator=(const ReplaceState&) = delete;
    ~ReplaceState() {
        if (!tempPath.empty()) {
            ::DeleteFileW(tempPath.c_str());
        }
    }

    // Puts the new file in place of the target; once only, a second attempt fails with EALREADY.
    Status PutInPlace();

    std::wstring target;
    std::wstring tempPath;  // empty once the file took its place, or where it must be kept
    bool replacesExisting = false;
    bool committed = false;
};

Status ReplaceState::PutInPlace() {
    if (committed) {
        return Failed(FailureKind::WriteFailed, EALREADY);
    }
    committed = true;
    if (replacesExisting) {
        if (::ReplaceFileW(target.c_str(), tempPath.c_str(), nullptr,
                           REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                           nullptr)) {
            tempPath.clear();
            return {};
        }
        const DWORD error = ::GetLastError();
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
            // The old file is gone and the new one still has its temporary name: it is all that
            // is left of the data, so it takes the target's name or, failing that, stays.
            if (::MoveFileExW(tempPath.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
                tempPath.clear();
                return {};
            }
            const DWORD moveError = ::GetLastError();
            tempPath.clear();
            return FailedWithSystemError(moveError);
        }
        if (error != ERROR_FILE_NOT_FOUND) {
            if (error == ERROR_ACCESS_DENIED) {
                return Failed(FailureKind::TargetReadOnly, EACCES);
            }
            return FailedWithSystemError(
                error == ERROR_UNABLE_TO_REMOVE_REPLACED ? ERROR_SHARING_VIOLATION : error);
        }
        // The target was removed since the preparation: the new file simply takes its name.
    }
    if (!::MoveFileExW(tempPath.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return FailedWithSystemError(::GetLastError());
    }
    tempPath.clear();
    return {};
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
    return state_->PutInPlace();
}

PreparedReplace PrepareReplace(const std::string& path, std::string_view content, SyncToDisk sync) {
    std::wstring given;
    if (!windows::WidePath(path, given)) {
        return PreparedReplace(path.empty() ? Failed(FailureKind::FolderMissing, ENOENT)
                                            : Failed(FailureKind::WriteFailed, EILSEQ));
    }
    const std::wstring target = FullPath(given);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool existing = attributes != INVALID_FILE_ATTRIBUTES;
    if (existing) {
        if (Status checked = CheckExistingTarget(target, attributes); !checked.Ok()) {
            return PreparedReplace(std::move(checked));
        }
    } else if (const DWORD error = ::GetLastError(); error != ERROR_FILE_NOT_FOUND) {
        return PreparedReplace(FailedWithSystemError(error));
    }
    auto state = std::make_unique<ReplaceState>(target, existing);
    windows::Handle file;
    for (int attempt = 0; attempt < kTempNameAttempts && !file.Valid(); ++attempt) {
        const std::wstring temp = TempPath(target, attempt);
        file = windows::Handle(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Valid()) {
            state->tempPath = temp;
        } else if (const DWORD error = ::GetLastError();
                   error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            return PreparedReplace(FailedWithSystemError(error));
        }
    }
    if (!file.Valid()) {
        return PreparedReplace(Failed(FailureKind::WriteFailed, EEXIST));
    }
    Status written = WriteAll(file.Get(), content, sync);
    if (const int closeError = file.Close(); written.Ok() && closeError != 0) {
        written = FailedWith(closeError);
    }
    if (!written.Ok()) {
        return PreparedReplace(std::move(written));
    }
    return PreparedReplace(std::move(state));
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
    // The two are put in place directly one after the other; the second not when the first
    // failed.
    result.first = first.state_->PutInPlace();
    if (result.first.Ok()) {
        result.second = second.state_->PutInPlace();
    }
    return result;
}

std::string ReplaceTargetPath(const std::string& path) {
    return path;
}

void IgnoreFileSizeLimitSignal() {}

}  // namespace vx40
