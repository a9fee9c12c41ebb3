// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/IniFileStore.h"

#include "base/RuntimeFailure.h"
#include "files/PrivateProfile.h"

namespace vx40 {

void IniFileStore::Edit(const std::function<Result<std::string>(std::string_view)>& edit) {
    if (!EditPrivateProfile(fileName_, edit).Ok()) {
        throw IniWriteFailure(fileName_);
    }
}

}  // namespace vx40
