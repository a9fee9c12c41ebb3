// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/FileIdentity.h"

#include <windows.h>
#undef ReplaceFile

#include "os/windows/SystemCalls.h"

namespace vx40 {
namespace {

// The volume's serial number and the file's index on it: every name of a file, whatever its
// spelling (case, "/" or "\", ".\"), gives the same pair.
std::optional<FileIdentity> IdentityOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) {
        return std::nullopt;
    }
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) |
                            info.nFileIndexLow};
}

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    std::wstring wide;
    if (!windows::WidePath(path, wide)) {
        return std::nullopt;
    }
    // Asks for nothing but the attributes, and shares everything: a file that another program
    // holds open still has its identity. Folders need the backup flag to be opened at all.
    const windows::Handle file(::CreateFileW(
        wide.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.Valid()) {
        return std::nullopt;
    }
    return IdentityOfHandle(file.Get());
}

std::optional<FileIdentity> RedirectedFileIdentity(StandardStream stream) {
    HANDLE handle =
        ::GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_INPUT_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        ::GetFileType(handle) != FILE_TYPE_DISK) {
        return std::nullopt;
    }
    return IdentityOfHandle(handle);
}

}  // namespace vx40
