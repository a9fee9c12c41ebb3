// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vx40 {

// The longest value a read returns; a longer one is cut to its first 2047 characters.
inline constexpr std::size_t kMaxProfileValueLength = 2047;

// The private-profile functions on INI text: "[section]" lines and "key=value" lines below them.
// Section and key names match without regard to ASCII letter case, and blanks around a name or a
// value do not count. A line ends in CR LF, LF or a CR alone, the file may start with a UTF-8
// byte-order mark, and blank lines and lines starting with ";" are kept but carry nothing. Lines
// before the first section belong to no section. Where a section or a key appears twice, the
// first one counts, for reading and writing alike. Reads and writes see the same lines.

struct ProfileKey {
    std::string_view section;
    std::string_view key;
};

struct ProfileWrite {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};

// The value of key in section, without blanks at its ends and cut to kMaxProfileValueLength; the
// default when the file, the section or the key is missing or the file cannot be read. Never
// fails, and reads the file in one pass without holding it whole.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& path);

// The values of all the keys, in their order, each exactly as GetPrivateProfileString gives it,
// from one pass over the file.
std::vector<std::string> GetPrivateProfileStrings(std::span<const ProfileKey> keys,
                                                  std::string_view defaultValue,
                                                  const std::string& path);

// The values as GetPrivateProfileStrings gives them, and whether the file holds a header of any
// of the keys' sections at all, with keys or without.
struct ProfileValues {
    std::vector<std::string> values;
    bool anySection = false;
};
ProfileValues GetPrivateProfileValues(std::span<const ProfileKey> keys,
                                      std::string_view defaultValue, const std::string& path);

// The same read on INI text in memory, such as a file that arrived on a pipe.
ProfileValues GetPrivateProfileValuesOfText(std::span<const ProfileKey> keys,
                                            std::string_view defaultValue,
                                            std::string_view content);

// Sets key in section to value: an existing key gets the new value in its line, a missing key is
// added after the last key line of its section, a missing section at the end of the file, a
// missing file is created. Every other byte of the file stays as it was; the lines written end in
// CR LF. The file is replaced whole or not at all, and flushed to the disk. Returns false, with
// nothing written, when the file cannot be read or replaced (a read-only file among them), or
// when a name or the value would break the file's structure: CR, LF or NUL anywhere, and after
// the blanks at their ends are dropped, a "]" in the section name, a "=" in the key name, a key
// name starting with ";" or "[", or a name that is empty.
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path);

// All the writes in their order as one replace of the file: it holds afterwards the bytes that
// the writes one by one would leave, or, when any of them is refused or the replace fails, stays
// as it was.
bool WritePrivateProfileStrings(std::span<const ProfileWrite> writes, const std::string& path);

// The same writes on INI text in memory, in one pass over it: the text after them, or none where
// any of them would be refused.
std::optional<std::string> PrivateProfileTextAfterWrites(std::string_view content,
                                                         std::span<const ProfileWrite> writes);

std::optional<std::string> PrivateProfileTextAfterWrite(std::string_view content,
                                                        std::string_view section,
                                                        std::string_view key,
                                                        std::string_view value);

}  // namespace vx40
