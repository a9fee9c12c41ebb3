// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace vx40 {

// Which files a reader accepts besides regular files. Folders are never read.
enum class ReadableFiles {
    RegularOnly,           // text files that are read to their end
    AnyExceptDirectories,  // devices and FIFOs too, for readers that stop after a few bytes
    // Devices, FIFOs and pipes too, read as a program reads its input: the open waits for a
    // writer and every read for data, until maxBytes or the end of the input.
    AnyWaitingForInput,
};

struct [[nodiscard]] FileReadResult {
    int error = 0;  // the errno of the failing step, 0 on success

    bool Ok() const { return error == 0; }
};

// Reads the file from its start and hands the bytes to consume chunk by chunk, until the end of
// the file, until maxBytes bytes were handed over, or until consume returns false. Except for
// AnyWaitingForInput the file is opened without blocking, so a FIFO without a writer or a device
// without data reads as empty instead of hanging. A folder fails with EISDIR, any other file that
// is not a regular file with EINVAL when only regular files are readable.
FileReadResult ReadFileChunks(const std::string& path, std::size_t maxBytes, ReadableFiles kinds,
                              const std::function<bool(std::string_view)>& consume);

struct FilePrefix {
    FileReadResult result;
    std::string bytes;  // at most maxBytes; what was read before a failure is kept
};

// At most the first maxBytes bytes of a file, never more, as ReadFileChunks reads them.
FilePrefix ReadFilePrefix(const std::string& path, std::size_t maxBytes, ReadableFiles kinds);

}  // namespace vx40
