// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/IniNames.h"

#include <algorithm>

#include "text/CharacterRules.h"

namespace vx40 {

std::size_t IniNames::AddSection(std::string_view name) {
    const auto [at, added] = sections_.try_emplace(Lowered(name), sectionKeys_.size());
    if (added) {
        sectionKeys_.emplace_back();
        longestSection_ = std::max(longestSection_, name.size());
    }
    return at->second;
}

std::size_t IniNames::AddKey(std::size_t section, std::string_view name) {
    SectionKeys& keys = sectionKeys_[section];
    const auto [at, added] = keys.slots.try_emplace(Lowered(name), slotCount_);
    if (added) {
        ++slotCount_;
        keys.longest = std::max(keys.longest, name.size());
    }
    return at->second;
}

std::size_t IniNames::FindSection(std::string_view name) const {
    // A longer name is no match: the other program's long lines cost no copy.
    if (name.size() > longestSection_) {
        return kNone;
    }
    const auto at = sections_.find(Lowered(name));
    return at == sections_.end() ? kNone : at->second;
}

std::size_t IniNames::FindKey(std::size_t section, std::string_view name) const {
    const SectionKeys& keys = sectionKeys_[section];
    if (name.size() > keys.longest) {
        return kNone;
    }
    const auto at = keys.slots.find(Lowered(name));
    return at == keys.slots.end() ? kNone : at->second;
}

const std::string& IniNames::Lowered(std::string_view name) const {
    lowered_.assign(name);
    std::transform(lowered_.begin(), lowered_.end(), lowered_.begin(), AsciiLower);
    return lowered_;
}

bool IniSectionWalk::Enter(std::string_view name) {
    if (current_ != IniNames::kNone && --left_ == 0) {
        return false;
    }
    const std::size_t section = names_.FindSection(name);
    current_ = section != IniNames::kNone && !seen_[section] ? section : IniNames::kNone;
    if (current_ != IniNames::kNone) {
        seen_[current_] = true;
    }
    return true;
}

}  // namespace vx40
