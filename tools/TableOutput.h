// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "channel/ChannelTable.h"

namespace vx40::tool {

using TextRow = std::vector<std::string>;

// The header texts of the printed columns: "Frequenz", "n0" ... "D0", with "Kanal" first when
// the rows are channels of a table.
TextRow ChannelColumnHeader(bool withChannel);

// Channel r of the table as a printed row: "r", then the texts of columns 0 to 11.
TextRow ChannelRow(const ChannelTable& table, int row);

// The header and the rows as comma-separated values (a field holding a comma or a quote
// in quotes, quotes doubled), or aligned in columns for reading. A cell of blanks only, such as
// the parts of a refused row or a cleared cell, prints as an empty field; every other cell as
// ShownText shows it, so that a cell from a file never drives the terminal.
std::string TableText(const TextRow& header, const std::vector<TextRow>& rows, bool csv);
void PrintTable(std::ostream& out, const TextRow& header, const std::vector<TextRow>& rows,
                bool csv);

// Rows 1 to 16 of the table with the channel numbers, as PrintTable prints them.
void PrintChannelTable(std::ostream& out, const ChannelTable& table, bool csv);

}  // namespace vx40::tool
