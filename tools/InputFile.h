// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "channel/ChannelTable.h"
#include "os/FileRead.h"

namespace vx40::tool {

// "-" as a file argument: standard input for an input, standard output for an output.
bool IsStandardStream(const std::string& path);

// Whether the name of a file ends in ".vx4", in any letter case: the ending of channel-set files.
bool IsChannelSetPath(const std::string& path);

// The path by which a reader opens the input path: the system's name of standard input for "-",
// where the reader waits for the input as it comes; the unreadable input when standard input is
// closed.
Result<std::string> InputReadPath(const std::string& path);

// Hands the bytes of an input to consume as they come: a regular file, or standard input of any
// kind; the unreadable input for one that cannot be read.
Status ReadInputChunks(const std::string& path,
                       const std::function<void(std::string_view)>& consume);

// An input that could not be read with the error: ReadFailed with the path as it was given, which
// the tool reports with the usage.
Failure UnreadableInput(const std::string& path, int error);

// At most the first maxBytes bytes of an input, read in one go, or the unreadable input; a file
// that is not of the kinds the reader takes is unreadable too.
Result<std::string> ReadInputBytes(const std::string& path, std::size_t maxBytes,
                                   ReadableFiles kinds);

// The table of a channel-set file, or of standard input for "-". A load of a path would read a
// missing file as empty, so the input is read first and an unreadable one refused as above. A file
// that holds none of the sections Wert1 to Wert16 fails as NoChannelSet with the path.
Result<ChannelTable> LoadChannelSetInput(const std::string& path);

// A file argument of a command: the name the usage gives it ("-o", "PLAN") and the path.
struct FileArgument {
    std::string_view name;
    const std::string& path;  // empty: not given
    bool output = false;      // "-" names standard output
};

// CallRefused when two of the files are one: the same name once links are
// followed as the writer follows them (a dangling link included), or the same file on the disk.
// An output that is also an input would lose the input, two outputs one of them. "-" stands for
// the file that standard input or output is redirected to, where it is one.
Status CheckDistinctFiles(std::initializer_list<FileArgument> files);

// CallRefused when more than one of the inputs is "-": standard input can
// be read once.
Status CheckStandardInputOnce(std::initializer_list<FileArgument> inputs);

}  // namespace vx40::tool
