// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "channel/ChannelConstants.h"
#include "channel/ChannelTable.h"
#include "files/IniFileStore.h"

namespace vx40 {

// The key of each column in a channel-set file. "N0" to "N2" are upper case although the header
// row shows "n0" to "n2": the keys are fixed texts, never taken from the header row.
inline constexpr std::array<std::string_view, kColumnCount> kChannelSetKeys = {
    "Frequenz", "N0", "N1", "N2", "D7", "D6", "D5", "D4", "D3", "D2", "D1", "D0"};

// The section of channel row 1 to 16: "Wert1" to "Wert16".
std::string ChannelSetSection(int row);

// Writes the 192 cells of rows 1 to 16 unchanged, row by row and within a row column by column,
// one key each, as one replace of the file: it is afterwards wholly old or wholly new. A failure
// (a cell with a CR, LF or NUL among them) raises IniWriteFailure from the store and leaves the
// file as it was.
void SaveChannelSet(const ChannelTable& table, IniFileStore& store);

// The text that the same writes make of the text existing (by default none, as in an empty
// file: 208 lines); none when a cell's text cannot be written (a CR, LF or NUL in it).
std::optional<std::string> ChannelSetText(const ChannelTable& table,
                                          std::string_view existing = {});

// Reads the 192 keys in one pass, with the default "", into rows 1 to 16 unchanged; a missing key
// gives an empty cell. The header row is not touched. Returns whether the file holds any of the
// sections Wert1 to Wert16: a file without them (a plan, a UTF-16 text, a binary) loads as empty
// cells, which the window accepts, but it is no channel-set file.
bool LoadChannelSet(ChannelTable& table, const IniFileStore& store);

// "keine Kanaldatei: <path>" for a file that holds none of the sections Wert1 to Wert16.
std::string NoChannelSetMessage(const std::string& path);

// LoadChannelSet of a file's text, such as one that arrived on a pipe.
bool LoadChannelSetText(ChannelTable& table, std::string_view text);

// Every read of a missing or unreadable file gives its default, so a load of such a file would
// empty the whole table. A load asks first: empty when path is a regular file that can be opened
// for reading, otherwise the message for the message dialog, and the load must not start.
std::string ChannelSetLoadRefusal(const std::string& path);

}  // namespace vx40
