// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "channel/ChannelTable.h"
#include "web/PageReply.h"

namespace vx40 {

// The bench beside the window: what vx40-tool adds, with the tool's own texts. It only reads the
// window's table.
class WerkbankSession {
  public:
    // The image formats for the format list.
    void Start(PageReply& reply) const;
    // The handler that args[0] names:
    //   "WerkbankRaster"   args[1]: a pasted list, empty for the table's frequencies
    //   "WerkbankInspect"  args[1]: the name, args[2]: the offset in a chip (blank: none);
    //                      content: the file
    //   "WerkbankDiff"     args[1], args[2]: the names, args[3]: the size of the first file,
    //                      args[4]: the offset in a chip; content: both files one after the other
    //   "WerkbankExport"   args[1]: the format's name, args[2] to args[4]: the chip's size, fill
    //                      and offset (blank: the image alone, 0xFF, 0)
    //   "WerkbankSheet"    args[1]: the crystal field, args[2] to args[4]: today's day, month
    //                      and year, args[5]: "print" to print the sheet, else a download
    // tableName names the table on the sheet (empty: "VX40").
    void Call(PageReply& reply, const ChannelTable& table, std::string_view tableName,
              const std::vector<std::string_view>& args,
              std::optional<std::span<const std::uint8_t>> content) const;
};

}  // namespace vx40
