// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "base/Result.h"
#include "channel/ChannelConstants.h"
#include "channel/ChannelTable.h"
#include "files/BinImage.h"

namespace vx40 {

// What the sheet says about where its channels come from; the caller gives the date, so that
// the same input always gives the same page.
struct SheetHeading {
    std::string fileName;  // as the user named the file, shown escaped
    std::string date;      // "08.12.2026"
    std::int32_t crystalHz = kCrystalHz;
};

// A day as German dates are written and the sheet shows it: "08.12.2026".
std::string SheetDateText(int day, int month, int year);

// The record of a channel memory to keep with the radio: one self-contained HTML page in UTF-8
// (no script, nothing loaded from elsewhere) that prints on one A4 sheet. It shows the file's
// name, the date, the crystal, the prescalers and the ratio (once where every programmed channel
// has the same, else per channel), for channels 1 to 16 the frequency, N, N2/N1/N0, the nibbles
// D7 to D0, modulator and test as the channel's own nibbles give them ("leer" for a channel that
// is all 0F), the 128 bytes by address and their checksums. Every text from outside is escaped.
//
// For an image the frequency is the true one that the nibbles give with the crystal.
std::string ChannelSheetHtml(const BinImage& image, const SheetHeading& heading);

// For a channel table the frequency is the row's own; where the nibbles give another (or the row
// has no plain frequency), the page shows the image's frequency beside it. A table with a
// data-nibble cell that is no nibble text gives no page: the failure of BuildBinImage.
Result<std::string> ChannelSheetHtml(const ChannelTable& table, const SheetHeading& heading);

}  // namespace vx40
