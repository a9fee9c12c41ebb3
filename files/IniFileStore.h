// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "base/Result.h"

namespace vx40 {

// The window's INI-file store: the INI file on a path that each command sets anew.
class IniFileStore {
  public:
    void SetFileName(std::string path) { fileName_ = std::move(path); }
    const std::string& FileName() const { return fileName_; }

    // Replaces the file whole with what edit makes of its text (empty for a missing file), or
    // leaves it as it was and raises IniWriteFailure ("Unable to write to <path>").
    void Edit(const std::function<Result<std::string>(std::string_view)>& edit);

  private:
    std::string fileName_;
};

}  // namespace vx40
