// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/FileRead.h"

#include <windows.h>
#undef ReplaceFile

#include <algorithm>
#include <cerrno>
#include <vector>

#include "os/StandardStreams.h"
#include "os/windows/SystemCalls.h"

namespace vx40 {
namespace {

constexpr DWORD kChunkSize = 64 * 1024;

Failure ReadFailure(const std::string& path, int error) {
    return Failure{FailureKind::ReadFailed, error, path};
}

// The file opened for reading, shared with every other program (as a POSIX read shares it); or
// the process's own standard input, which is not closed after the read.
Result<HANDLE> OpenToRead(const std::string& path, ReadableFiles kinds, windows::Handle& owned) {
    if (path == StandardInputPath()) {
        HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
        if (input == nullptr || input == INVALID_HANDLE_VALUE) {
            return ReadFailure(path, EBADF);
        }
        return input;
    }
    std::wstring wide;
    if (!windows::WidePath(path, wide)) {
        return ReadFailure(path, path.empty() ? ENOENT : EILSEQ);
    }
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return ReadFailure(path, EISDIR);
    }
    owned = windows::Handle(::CreateFileW(wide.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!owned.Valid()) {
        return ReadFailure(path, windows::ErrnoOf(::GetLastError()));
    }
    if (kinds == ReadableFiles::RegularOnly && ::GetFileType(owned.Get()) != FILE_TYPE_DISK) {
        return ReadFailure(path, EINVAL);
    }
    return owned.Get();
}

// How much may be read now without waiting: everything from a file or where the reader waits
// for input; what a pipe holds; nothing from a console or device, which would wait.
DWORD AvailableNow(HANDLE file, ReadableFiles kinds, DWORD wanted) {
    if (kinds == ReadableFiles::AnyWaitingForInput) {
        return wanted;
    }
    switch (::GetFileType(file)) {
        case FILE_TYPE_DISK:
            return wanted;
        case FILE_TYPE_PIPE: {
            DWORD available = 0;
            if (!::PeekNamedPipe(file, nullptr, 0, nullptr, &available, nullptr)) {
                return 0;
            }
            return std::min(wanted, available);
        }
        default:
            return 0;
    }
}

}  // namespace

Status ReadFileChunks(const std::string& path, std::size_t maxBytes, ReadableFiles kinds,
                      const std::function<bool(std::string_view)>& consume) {
    windows::Handle owned;
    const Result<HANDLE> file = OpenToRead(path, kinds, owned);
    if (!file.Ok()) {
        return file.Error();
    }
    std::vector<char> buffer(kChunkSize);
    std::size_t left = maxBytes;
    while (left > 0) {
        const DWORD wanted =
            AvailableNow(*file, kinds, static_cast<DWORD>(std::min<std::size_t>(left, kChunkSize)));
        if (wanted == 0) {
            break;  // nothing there now: a pipe or device without data ends here
        }
        DWORD count = 0;
        if (!::ReadFile(*file, buffer.data(), wanted, &count, nullptr)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
                break;  // the writer of a pipe has closed it: its end
            }
            return ReadFailure(path, windows::ErrnoOf(error));
        }
        if (count == 0) {
            break;
        }
        left -= count;
        if (!consume(std::string_view(buffer.data(), count))) {
            break;
        }
    }
    return {};
}

}  // namespace vx40
