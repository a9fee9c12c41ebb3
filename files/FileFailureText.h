// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "base/Result.h"
#include "os/FileReplace.h"

namespace vx40 {

// The one home of the German texts about files that cannot be read or written.

// "Die Datei "<path>" " followed by what happened to it, the start of every such message; the
// path as ShownText shows it.
std::string FileSentence(const std::string& path, const std::string& whatHappened);

// The German reason for an error number of the system ("der Datenträger ist voll"), for every
// error a file command can meet, and "Systemfehler <n>" for any other: never the system's own
// English text.
std::string SystemErrorText(int error);

// Why a file could not be opened for reading, as a short text for a message ("sie existiert
// nicht", "das ist ein Ordner", ...), from the error number of the read.
std::string FileReadFailureReason(int error);

// "Die Datei "<path>" <verb> werden: <reason>." for a file that cannot be read; verb is what the
// command would have done, "kann nicht gelesen" or "kann nicht geladen".
std::string FileReadFailureMessage(const std::string& path, const std::string& verb, int error);

// "Die Datei "<path>" konnte nicht geschrieben werden: <reason>." for a failed replace.
std::string FileWriteFailureMessage(const std::string& path, const Status& replace);

// The two refusals of a bin file that is read, shown as they stand; a carriage return starts a
// new line in the message dialog.
inline constexpr std::string_view kBinTooShortMessage = "Binärfile ist kein Brenstadel-File";
inline constexpr std::string_view kBinInvalidDataMessage =
    "Während des Einlesens wurden Daten\r"
    "entdeckt die nicht Brenstadel konform sind\r"
    "(>0F oder Bitstream falsch)";

// The text of a failure to read or write the image file at path: a file that is too short, or
// that cannot be read at all, is no image file (kBinTooShortMessage); a byte above 0x0F gives
// kBinInvalidDataMessage; refused records, and a chip read back that holds no image, their
// reader's message; an invalid cell "Kanal 16, D0 enthält "  ": ..."; a failed write
// FileWriteFailureMessage.
std::string ImageFailureText(const Failure& failure, const std::string& path);

}  // namespace vx40
