// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/PrivateProfile.h"

namespace vx40 {

// The window's INI-file store: an INI file on a path that each command sets anew. Every write
// and every read is one private-profile call on that path; a call may carry many keys.
class IniFileStore {
  public:
    void SetFileName(std::string path) { fileName_ = std::move(path); }
    const std::string& FileName() const { return fileName_; }

    // Raises IniWriteFailure ("Unable to write to <path>") when the file is left unchanged.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);

    // All the writes as one replace of the file, or, raising IniWriteFailure, none of them.
    void WriteStrings(std::span<const ProfileWrite> writes);

    // Never fails: the default stands in for a missing file, section or key.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;

    // The values of the keys in their order, from one pass over the file.
    std::vector<std::string> ReadStrings(std::span<const ProfileKey> keys,
                                         std::string_view defaultValue) const;

    // The same, and whether the file holds any of the keys' sections.
    ProfileValues ReadValues(std::span<const ProfileKey> keys, std::string_view defaultValue) const;

  private:
    std::string fileName_;
};

}  // namespace vx40
