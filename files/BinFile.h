// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "channel/ChannelTable.h"
#include "files/BinImage.h"
#include "files/FileFailureText.h"
#include "os/FileRead.h"
#include "os/FileReplace.h"

namespace vx40 {

// The two refusals of a bin file that is read, shown as they stand; a carriage return starts a
// new line in the message dialog.
inline constexpr std::string_view kBinTooShortMessage = "Binärfile ist kein Brenstadel-File";
inline constexpr std::string_view kBinInvalidDataMessage =
    "Während des Einlesens wurden Daten\r"
    "entdeckt die nicht Brenstadel konform sind\r"
    "(>0F oder Bitstream falsch)";

enum class BinWriteOutcome { Written, InvalidCell, WriteFailed };

struct [[nodiscard]] BinWriteResult {
    BinWriteOutcome outcome = BinWriteOutcome::Written;
    std::optional<InvalidNibbleCell> invalidCell;  // InvalidCell
    Status replace;                                // WriteFailed
    std::string message;                           // for the message dialog; empty when written

    bool Written() const { return outcome == BinWriteOutcome::Written; }
};

// Writes the 128-byte image of the table to path, replacing the file whole and flushing it to
// the disk. A table with an invalid data-nibble cell writes nothing at all, and a failed write
// leaves an existing file exactly as it was; either way the message says what happened.
BinWriteResult WriteBinFile(const ChannelTable& table, const std::string& path);

// The refusal text of a fault, empty for an accepted image and for refused records, whose text
// comes with the read (ImageRefusalMessage).
std::string_view BinRefusalMessage(BinImageFault fault);

// The image of the first bytes of a file as they were read: a read that failed reads as too short.
BinImageParse ParseBinFilePrefix(const Result<std::string>& prefix);

// Reads the first 128 bytes of path and never more, so that a huge file or a device costs no
// more than those. A folder, a FIFO without data, a missing or unreadable file reads as too short.
BinImageParse ReadBinFile(const std::string& path);

// Reads path and, only when the image is accepted, applies it to the table; a refused file
// changes no cell.
BinImageParse ReadBinFileInto(ChannelTable& table, const std::string& path);

// "Kanal 16, D0 enthält "  ": ..." for the first invalid cell.
std::string InvalidNibbleCellMessage(const InvalidNibbleCell& invalid);

}  // namespace vx40
