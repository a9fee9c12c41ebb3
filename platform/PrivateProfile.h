#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vx40 {

// The longest value a read returns; a longer one is cut to its first 2047 characters.
inline constexpr std::size_t kMaxProfileValueLength = 2047;

// The private-profile functions on INI text: "[section]" lines and "key=value" lines below them.
// Section and key names match without regard to ASCII letter case, and blanks around a name or a
// value do not count. Lines may end in CR LF or LF alone, the file may start with a UTF-8
// byte-order mark, and blank lines and lines starting with ";" are kept but carry nothing. Lines
// before the first section belong to no section. Where a section or a key appears twice, the
// first one counts, for reading and writing alike.

// The value of key in section, without blanks at its ends and cut to kMaxProfileValueLength; the
// default when the file, the section or the key is missing or the file cannot be read. Never
// fails, and reads the file in one pass without holding it whole.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& path);

// Sets key in section to value: an existing key gets the new value in its line, a missing key is
// added after the last key line of its section, a missing section at the end of the file, a
// missing file is created. Every other byte of the file stays as it was; the lines written end in
// CR LF. The file is replaced whole or not at all. Returns false, with nothing written, when the
// file cannot be read or replaced (a read-only file among them), or when a name or the value
// would break the file's structure: CR, LF or NUL anywhere, and after the blanks at their ends
// are dropped, a "]" in the section name, a "=" in the key name, a key name starting with ";" or
// "[", or a name that is empty.
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path);

// The same write on INI text in memory: the text after it, or none where the write would refuse
// the names or the value.
std::optional<std::string> PrivateProfileTextAfterWrite(std::string_view content,
                                                        std::string_view section,
                                                        std::string_view key,
                                                        std::string_view value);

}  // namespace vx40
