// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "text/IniText.h"

namespace vx40 {

// The private-profile functions on an INI file at a path: the rules of text/IniText.h on the
// file's text.

// The whole text of the INI file at path, a regular file (ReadFailed otherwise).
Result<std::string> ReadPrivateProfileText(const std::string& path);

// The value of key in section as GetPrivateProfileValuesOfText gives it; the default when the
// file, the section or the key is missing or the file cannot be read. Never fails.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& path);

// The values of all the keys, in their order, each exactly as GetPrivateProfileString gives it,
// from one pass over the file.
std::vector<std::string> GetPrivateProfileStrings(std::span<const ProfileKey> keys,
                                                  std::string_view defaultValue,
                                                  const std::string& path);

// The same, and whether the file holds a header of any of the keys' sections.
ProfileValues GetPrivateProfileValues(std::span<const ProfileKey> keys,
                                      std::string_view defaultValue, const std::string& path);

// Replaces the file at path whole with what edit makes of its text (empty for a missing file),
// flushed to the disk, or leaves it as it was: the failure of the read (a folder, a device, ...),
// of edit, or of the replace (a read-only file among them).
Status EditPrivateProfile(const std::string& path,
                          const std::function<Result<std::string>(std::string_view)>& edit);

// The writes of PrivateProfileTextAfterWrites on the file, as one replace: a missing file is
// created, and the file holds afterwards the bytes that the writes one by one would leave or, when
// any of them is refused or the replace fails, stays as it was.
Status WritePrivateProfileStrings(std::span<const ProfileWrite> writes, const std::string& path);

Status WritePrivateProfileString(std::string_view section, std::string_view key,
                                 std::string_view value, const std::string& path);

}  // namespace vx40
