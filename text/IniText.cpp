// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/IniText.h"

#include <optional>

#include "text/CharacterRules.h"
#include "text/IniLines.h"
#include "text/IniNames.h"

namespace vx40 {

namespace {

constexpr std::size_t kNone = IniNames::kNone;

// The value a read gives of a key line's value: up to a NUL byte, as in the C string a caller's
// buffer would hold, and at most kMaxProfileValueLength bytes.
std::string_view ReadValue(std::string_view value) {
    return value.substr(0, value.find('\0')).substr(0, kMaxProfileValueLength);
}

// The keys looked for under their names, and the slot of each in the caller's order; kNone for a
// key with an empty name, which is never found.
struct WantedKeys {
    IniNames names;
    std::vector<std::size_t> slots;
};

WantedKeys Wanted(std::span<const ProfileKey> keys) {
    WantedKeys wanted;
    wanted.slots.reserve(keys.size());
    for (const ProfileKey& key : keys) {
        const std::string_view section = Trimmed(key.section, kIniBlanks);
        const std::string_view name = Trimmed(key.key, kIniBlanks);
        wanted.slots.push_back(section.empty() || name.empty()
                                   ? kNone
                                   : wanted.names.AddKey(wanted.names.AddSection(section), name));
    }
    return wanted;
}

}  // namespace

ProfileValues GetPrivateProfileValuesOfText(std::span<const ProfileKey> keys,
                                            std::string_view defaultValue,
                                            std::string_view content) {
    const WantedKeys wanted = Wanted(keys);
    const IniNames& names = wanted.names;
    // The value of the first line of each key looked for, in the first header of its section.
    std::vector<std::optional<std::string_view>> found(names.SlotCount());
    std::size_t missing = names.SlotCount();
    IniSectionWalk walk(names);
    ProfileValues result;
    IniLines lines(content);
    IniLine line;
    while (missing > 0 && lines.Next(line)) {
        if (line.kind == IniLineKind::Section) {
            if (!walk.Enter(line.section)) {
                break;
            }
            result.anySection = result.anySection || walk.Current() != kNone;
        } else if (line.kind == IniLineKind::Key && walk.Current() != kNone && !line.key.empty()) {
            const std::size_t slot = names.FindKey(walk.Current(), line.key);
            if (slot != kNone && !found[slot].has_value()) {
                found[slot] = ReadValue(line.value);
                --missing;
            }
        }
    }
    result.values.reserve(keys.size());
    for (const std::size_t slot : wanted.slots) {
        result.values.emplace_back(slot != kNone && found[slot].has_value() ? *found[slot]
                                                                            : defaultValue);
    }
    return result;
}

}  // namespace vx40
