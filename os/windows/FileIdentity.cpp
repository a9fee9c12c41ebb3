// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/FileIdentity.h"

#include <windows.h>
#undef ReplaceFile

#include <cstring>

#include "os/windows/SystemCalls.h"

namespace vx40 {
namespace {

// The volume's serial number and the file's id on it: every name of a file, whatever its
// spelling (case, "/" or "\\", ".\\"), gives the same pair. The id has 128 bits on file systems
// such as ReFS; NTFS uses the low 64 only, and the two halves are folded into one number.
std::optional<FileIdentity> IdentityOfHandle(HANDLE handle) {
    FILE_ID_INFO info{};
    if (!::GetFileInformationByHandleEx(handle, FileIdInfo, &info, sizeof info)) {
        return std::nullopt;
    }
    std::uint64_t low = 0;
    std::uint64_t high = 0;
    std::memcpy(&low, info.FileId.Identifier, sizeof low);
    std::memcpy(&high, info.FileId.Identifier + sizeof low, sizeof high);
    std::uint64_t volume = info.VolumeSerialNumber;
    if (volume == 0) {
        // A handle that the system knows on no volume (a file that Wine received from a Unix
        // program as a standard stream) is taken as one on the current folder's volume: a wrong
        // guess can only refuse a call, never let a file be read and written at once.
        const windows::Handle folder(::CreateFileW(
            L".", FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        FILE_ID_INFO folderInfo{};
        if (folder.Valid() && ::GetFileInformationByHandleEx(folder.Get(), FileIdInfo, &folderInfo,
                                                             sizeof folderInfo)) {
            volume = folderInfo.VolumeSerialNumber;
        }
    }
    return FileIdentity{volume, low ^ high};
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
