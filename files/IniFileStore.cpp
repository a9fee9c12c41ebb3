// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/IniFileStore.h"

#include "base/RuntimeFailure.h"

namespace vx40 {

void IniFileStore::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
    if (!WritePrivateProfileString(section, key, value, fileName_)) {
        throw IniWriteFailure(fileName_);
    }
}

void IniFileStore::WriteStrings(std::span<const ProfileWrite> writes) {
    if (!WritePrivateProfileStrings(writes, fileName_)) {
        throw IniWriteFailure(fileName_);
    }
}

std::string IniFileStore::ReadString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
    return GetPrivateProfileString(section, key, defaultValue, fileName_);
}

std::vector<std::string> IniFileStore::ReadStrings(std::span<const ProfileKey> keys,
                                                   std::string_view defaultValue) const {
    return GetPrivateProfileStrings(keys, defaultValue, fileName_);
}

ProfileValues IniFileStore::ReadValues(std::span<const ProfileKey> keys,
                                       std::string_view defaultValue) const {
    return GetPrivateProfileValues(keys, defaultValue, fileName_);
}

}  // namespace vx40
