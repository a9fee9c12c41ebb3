#include "platform/IniFileStore.h"

#include "platform/PrivateProfile.h"
#include "platform/RuntimeFailure.h"

namespace vx40 {

void IniFileStore::WriteString(std::string_view section, std::string_view key,
                               std::string_view value) {
    if (!WritePrivateProfileString(section, key, value, fileName_)) {
        throw IniWriteFailure(fileName_);
    }
}

std::string IniFileStore::ReadString(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
    return GetPrivateProfileString(section, key, defaultValue, fileName_);
}

}  // namespace vx40
