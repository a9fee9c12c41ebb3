// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vx40 {

// The sections and keys that one pass over INI text looks for, each under its name in ASCII
// lower case. A key is known by its slot, numbered across all sections.
class IniNames {
  public:
    static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

    std::size_t AddSection(std::string_view name);
    std::size_t AddKey(std::size_t section, std::string_view name);

    // kNone for a name not looked for.
    std::size_t FindSection(std::string_view name) const;
    std::size_t FindKey(std::size_t section, std::string_view name) const;

    std::size_t SectionCount() const { return sectionKeys_.size(); }
    std::size_t SlotCount() const { return slotCount_; }

  private:
    struct SectionKeys {
        std::unordered_map<std::string, std::size_t> slots;
        std::size_t longest = 0;
    };

    const std::string& Lowered(std::string_view name) const;

    std::unordered_map<std::string, std::size_t> sections_;
    std::vector<SectionKeys> sectionKeys_;
    std::size_t slotCount_ = 0;
    std::size_t longestSection_ = 0;
    mutable std::string lowered_;  // reused, so that a lookup allocates nothing
};

// Follows the section lines of one pass: in which section looked for the lines stand, the first
// header of each section counting, and whether any later line can still count.
class IniSectionWalk {
  public:
    explicit IniSectionWalk(const IniNames& names)
        : names_(names), seen_(names.SectionCount(), false), left_(names.SectionCount()) {}

    // At a section line of the name: false when it closes the last section looked for, so that
    // the pass may end.
    bool Enter(std::string_view name);

    // The section looked for whose first header the lines follow, or kNone.
    std::size_t Current() const { return current_; }

  private:
    const IniNames& names_;
    std::vector<bool> seen_;
    std::size_t left_;
    std::size_t current_ = IniNames::kNone;
};

}  // namespace vx40
