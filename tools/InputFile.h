// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

#include "channel/ChannelTable.h"
#include "platform/FileRead.h"

namespace vx40::tool {

// Raises ToolError (with the usage) when the input file cannot be opened as the kind of file its
// reader takes; the readers themselves treat such a file as missing or too short.
void CheckInputReadable(const std::string& path, ReadableFiles kinds);

// Raises ToolError (with the usage) for an input that could not be read with the error.
[[noreturn]] void RefuseUnreadableInput(const std::string& path, int error);

// At most the first maxBytes bytes of an input, read in one go, or ToolError as above.
std::string ReadInputBytes(const std::string& path, std::size_t maxBytes, ReadableFiles kinds);

// The table of a channel-set file. A load never fails: it reads a missing file as empty, so the
// tool refuses such an input first, with ToolError as above. A file that holds none of the
// sections Wert1 to Wert16 raises ToolRefusal ("keine Kanaldatei: ...").
ChannelTable LoadChannelSetInput(const std::string& path);

// The whole text of a regular file, or ToolError as above.
std::string ReadInputText(const std::string& path);

// A file argument of a command: the name the usage gives it ("-o", "PLAN") and the path.
struct FileArgument {
    std::string_view name;
    const std::string& path;  // empty: not given
};

// Raises ToolError (with the usage) when two of the files are one: the same name once links are
// followed as the writer follows them (a dangling link included), or the same file on the disk.
// An output that is also an input would lose the input, two outputs one of them.
void CheckDistinctFiles(std::initializer_list<FileArgument> files);

}  // namespace vx40::tool
