// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace vx40 {

// The longest value a read returns; a longer one is cut to its first 2047 characters.
inline constexpr std::size_t kMaxProfileValueLength = 2047;

// The private-profile rules on INI text (the lines as IniLines reads them). Section and key names
// match without regard to ASCII letter case, and blanks around a name or a value do not count.
// Blank lines and lines starting with ";" are kept but carry nothing. Lines before the first
// section belong to no section. Where a section or a key appears twice, the first one counts,
// for reading and writing alike. Reads and writes see the same lines.

struct ProfileKey {
    std::string_view section;
    std::string_view key;
};

struct ProfileWrite {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};

// The values of the keys in their order, and whether the text holds a header of any of the keys'
// sections at all, with keys or without.
struct ProfileValues {
    std::vector<std::string> values;
    bool anySection = false;
};

// Each value without blanks at its ends, ending before a NUL byte and cut to
// kMaxProfileValueLength; the default where the section or the key is missing or a name is
// empty. One pass over the text, which ends once every key is found.
ProfileValues GetPrivateProfileValuesOfText(std::span<const ProfileKey> keys,
                                            std::string_view defaultValue,
                                            std::string_view content);

// The text after the writes in their order, from one pass over it: the bytes the writes one by
// one would leave. A write sets key in section to value: an existing key gets the new value in
// its line, a missing key is added after the last key line of its section, a missing section at
// the end of the text. Every other byte stays as it was; the lines written end in CR LF.
// Refused, with no text, where a write would break the text's structure: ValueNotWritable for a
// CR, LF or NUL in the value; NameNotWritable for a CR, LF or NUL in a name, and after the
// blanks at their ends are dropped, a "]" in the section name, a "=" in the key name, a key name
// starting with ";" or "[", or a name that is empty. The failure's position is the write's index,
// its detail the key's name.
Result<std::string> PrivateProfileTextAfterWrites(std::string_view content,
                                                  std::span<const ProfileWrite> writes);

Result<std::string> PrivateProfileTextAfterWrite(std::string_view content, std::string_view section,
                                                 std::string_view key, std::string_view value);

}  // namespace vx40
