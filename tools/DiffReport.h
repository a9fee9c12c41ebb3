// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "files/BinImage.h"

namespace vx40::tool {

// Whether a name is that of a channel-set file: it ends in ".vx4", letter case ignored.
bool IsChannelSetPath(const std::string& path);

// Two images compared nibble by nibble: a line for each channel that differs ("Kanal 3:
// 798300.000 kHz gegen leer (D7, D0 verschieden)"), or with csv a table of every differing
// nibble.
struct DiffReport {
    std::string text;
    bool differs = false;
};
DiffReport CompareImages(const BinImage& first, const BinImage& second, std::int32_t crystalHz,
                         bool csv);

}  // namespace vx40::tool
