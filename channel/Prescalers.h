// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vx40 {

// One entry of a prescaler's list: the text the combo box offers, the divisor it stands for and
// the code the channel word carries for it.
struct PrescalerEntry {
    std::string_view text;
    std::int32_t divisor;
    std::int32_t code;
};

using PrescalerList = std::array<PrescalerEntry, 4>;

// The lists in the order the combo boxes show them. R0's code is its two select bits: bit 0 goes
// to the N0 part's flag, bit 1 to the N1 part's flag. R1's and R2's codes add up to the
// prescaler nibble D7.
inline constexpr PrescalerList kR0Entries = {
    {{"12", 12, 0}, {"13", 13, 1}, {"14", 14, 2}, {"15", 15, 3}}};
inline constexpr PrescalerList kR1Entries = {{{"9", 9, 0}, {"5", 5, 1}, {"6", 6, 2}, {"7", 7, 3}}};
inline constexpr PrescalerList kR2Entries = {{{"1", 1, 0}, {"2", 2, 4}, {"4", 4, 8}, {"8", 8, 12}}};

inline constexpr std::int32_t kR0SelectN0Bit = 1;
inline constexpr std::int32_t kR0SelectN1Bit = 2;
// R1's code takes the two low bits of D7, R2's the two high ones.
inline constexpr std::int32_t kR1CodeMask = 3;
inline constexpr std::int32_t kR2CodeMask = 12;

// What the window shows at start, and what vx40-tool takes when an option is not given.
inline constexpr std::string_view kR0StartText = "12";
inline constexpr std::string_view kR1StartText = "5";
inline constexpr std::string_view kR2StartText = "2";
inline constexpr std::int32_t kStartFrequencyKhz = 798300;
inline constexpr bool kStartModulator = true;
inline constexpr bool kStartTest = false;
// The window's caption, which a channel-set load extends by the file's name, and the text of the
// fixed divider's field, as the window has always shown it.
inline constexpr std::string_view kWindowCaption = "VX40";
inline constexpr std::string_view kFixedDividerText = "       128";

// The entry whose text is exactly text; none for any other text.
constexpr std::optional<PrescalerEntry> FindPrescalerByText(const PrescalerList& list,
                                                            std::string_view text) {
    for (const PrescalerEntry& entry : list) {
        if (entry.text == text) {
            return entry;
        }
    }
    return std::nullopt;
}

// The entry that carries code; none when no entry does.
constexpr std::optional<PrescalerEntry> FindPrescalerByCode(const PrescalerList& list,
                                                            std::int32_t code) {
    for (const PrescalerEntry& entry : list) {
        if (entry.code == code) {
            return entry;
        }
    }
    return std::nullopt;
}

}  // namespace vx40
