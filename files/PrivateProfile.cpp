// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/PrivateProfile.h"

#include <cerrno>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

#include "os/FileRead.h"
#include "os/FileReplace.h"

namespace vx40 {

Result<std::string> ReadPrivateProfileText(const std::string& path) {
    return ReadFilePrefix(path, std::numeric_limits<std::size_t>::max(),
                          ReadableFiles::RegularOnly);
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& path) {
    const ProfileKey keys[] = {{section, key}};
    return std::move(GetPrivateProfileStrings(keys, defaultValue, path).front());
}

std::vector<std::string> GetPrivateProfileStrings(std::span<const ProfileKey> keys,
                                                  std::string_view defaultValue,
                                                  const std::string& path) {
    return GetPrivateProfileValues(keys, defaultValue, path).values;
}

ProfileValues GetPrivateProfileValues(std::span<const ProfileKey> keys,
                                      std::string_view defaultValue, const std::string& path) {
    const Result<std::string> text = ReadPrivateProfileText(path);
    return GetPrivateProfileValuesOfText(keys, defaultValue,
                                         text.Ok() ? std::string_view(*text) : std::string_view());
}

Status EditPrivateProfile(const std::string& path,
                          const std::function<Result<std::string>(std::string_view)>& edit) {
    try {
        Result<std::string> old = ReadPrivateProfileText(path);
        if (!old.Ok() && old.Error().error != ENOENT) {
            return old.Error();
        }
        const Result<std::string> text =
            edit(old.Ok() ? std::string_view(*old) : std::string_view());
        if (!text.Ok()) {
            return text.Error();
        }
        return ReplaceFile(path, *text, SyncToDisk::Yes);
    } catch (const std::bad_alloc&) {
        return Failure(FailureKind::WriteFailed, ENOMEM, path);
    } catch (const std::length_error&) {
        return Failure(FailureKind::WriteFailed, ENOMEM, path);
    }
}

Status WritePrivateProfileStrings(std::span<const ProfileWrite> writes, const std::string& path) {
    return EditPrivateProfile(
        path, [&](std::string_view old) { return PrivateProfileTextAfterWrites(old, writes); });
}

Status WritePrivateProfileString(std::string_view section, std::string_view key,
                                 std::string_view value, const std::string& path) {
    const ProfileWrite writes[] = {{section, key, value}};
    return WritePrivateProfileStrings(writes, path);
}

}  // namespace vx40
