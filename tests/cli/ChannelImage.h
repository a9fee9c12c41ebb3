// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <map>
#include <string>

namespace vx40::cli_test {

// The eight data nibbles of a channel, D7 first, as the table shows them.
using Nibbles = std::array<int, 8>;

// The data nibbles of 798300 kHz with the default prescalers.
inline const Nibbles kWorkedChannel = {5, 8, 3, 7, 2, 7, 8, 4};

// The 128-byte image worked by hand: channel 16 first, each channel D0 first; channels that are
// not given are 0x0F throughout.
inline std::string ImageBytes(const std::map<int, Nibbles>& channels) {
    std::string bytes;
    for (int channel = 16; channel >= 1; --channel) {
        const auto found = channels.find(channel);
        for (int k = 0; k < 8; ++k) {
            const int value =
                found == channels.end() ? 0x0F : found->second[static_cast<std::size_t>(7 - k)];
            bytes.push_back(static_cast<char>(value));
        }
    }
    return bytes;
}

}  // namespace vx40::cli_test
