// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "base/Result.h"
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

// The text of a channel-set file for the table, the one home of it: the 192 cells of rows 1 to
// 16 written unchanged over the text existing, row by row and within a row column by column, one
// key each (into an empty text: 208 lines). A cell that cannot be written (a CR, LF or NUL in
// it) fails as ValueNotWritable, with the cell's index in the order above as its position.
Result<std::string> ChannelSetText(const ChannelTable& table, std::string_view existing = {});

// Writes ChannelSetText over the store's file as one replace: it is afterwards wholly old or
// wholly new. A failure raises IniWriteFailure from the store and leaves the file as it was.
void SaveChannelSet(const ChannelTable& table, IniFileStore& store);

// Reads the 192 keys of a channel-set file's text in one pass, with the default "", into rows 1
// to 16 unchanged; a missing key gives an empty cell. The header row is not touched. A text
// without any of the sections Wert1 to Wert16 (a plan, a UTF-16 text, a binary) loads as empty
// cells, which the window accepts, but fails as NoChannelSet: it is no channel-set file.
Status LoadChannelSetText(ChannelTable& table, std::string_view text);

// LoadChannelSetText of the file at path. A file that cannot be read loads as empty cells and
// fails as ReadFailed.
Status LoadChannelSet(ChannelTable& table, const std::string& path);

// "keine Kanaldatei: <path>" for a file that holds none of the sections Wert1 to Wert16.
std::string NoChannelSetMessage(const std::string& path);

// A load of a missing or unreadable file would empty the whole table, so a load asks first:
// whether path is a regular file that can be opened for reading (ReadFailed otherwise). The load
// must not start when it is not.
Status CheckChannelSetLoadable(const std::string& path);

// The message for the message dialog when CheckChannelSetLoadable fails.
std::string ChannelSetLoadRefusal(const Failure& failure);

}  // namespace vx40
