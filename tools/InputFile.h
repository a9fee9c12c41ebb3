// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "channel/ChannelTable.h"
#include "os/FileRead.h"

namespace vx40::tool {

// "-" as a file argument: standard input for an input, standard output for an output.
bool IsStandardStream(const std::string& path);

// The path by which a reader opens the input path: the system's name of standard input for "-",
// where the reader waits for the input as it comes; ToolError (with the usage) when standard input
// is closed.
std::string InputReadPath(const std::string& path);

// Hands the bytes of an input to consume as they come: a regular file, or standard input of any
// kind; ToolError (with the usage) for an input that cannot be read.
void ReadInputChunks(const std::string& path, const std::function<void(std::string_view)>& consume);

// Raises ToolError (with the usage) when the input file cannot be opened as the kind of file its
// reader takes; the readers themselves treat such a file as missing or too short.
void CheckInputReadable(const std::string& path, ReadableFiles kinds);

// Raises ToolError (with the usage) for an input that could not be read with the error.
[[noreturn]] void RefuseUnreadableInput(const std::string& path, int error);

// At most the first maxBytes bytes of an input, read in one go, or ToolError as above.
std::string ReadInputBytes(const std::string& path, std::size_t maxBytes, ReadableFiles kinds);

// The table of a channel-set file, or of standard input for "-". A load never fails: it reads a
// missing file as empty, so the tool refuses such an input first, with ToolError as above. A file
// that holds none of the sections Wert1 to Wert16 raises ToolRefusal ("keine Kanaldatei: ...").
ChannelTable LoadChannelSetInput(const std::string& path);

// A file argument of a command: the name the usage gives it ("-o", "PLAN") and the path.
struct FileArgument {
    std::string_view name;
    const std::string& path;  // empty: not given
    bool output = false;      // "-" names standard output
};

// Raises ToolError (with the usage) when two of the files are one: the same name once links are
// followed as the writer follows them (a dangling link included), or the same file on the disk.
// An output that is also an input would lose the input, two outputs one of them. "-" stands for
// the file that standard input or output is redirected to, where it is one.
void CheckDistinctFiles(std::initializer_list<FileArgument> files);

// Raises ToolError (with the usage) when more than one of the inputs is "-": standard input can
// be read once.
void CheckStandardInputOnce(std::initializer_list<FileArgument> inputs);

}  // namespace vx40::tool
