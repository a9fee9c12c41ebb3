// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace vx40 {

// Which files a reader accepts besides regular files. Folders are never read.
enum class ReadableFiles {
    RegularOnly,           // text files that are read to their end
    AnyExceptDirectories,  // devices and FIFOs too, for readers that stop after a few bytes
    // Devices, FIFOs and pipes too, read as a program reads its input: the open waits for a
    // writer and every read for data, until maxBytes or the end of the input.
    AnyWaitingForInput,
};

// Reads the file from its start and hands the bytes to consume chunk by chunk, until the end of
// the file, until maxBytes bytes were handed over, or until consume returns false. Except for
// AnyWaitingForInput the file is opened without blocking, so a FIFO without a writer or a device
// without data reads as empty instead of hanging. A folder fails with EISDIR, any other file that
// is not a regular file with EINVAL when only regular files are readable.
// A failure is FailureKind::ReadFailed with the errno of the failing step and the path.
Status ReadFileChunks(const std::string& path, std::size_t maxBytes, ReadableFiles kinds,
                      const std::function<bool(std::string_view)>& consume);

// At most the first maxBytes bytes of a file, never more, as ReadFileChunks reads them.
Result<std::string> ReadFilePrefix(const std::string& path, std::size_t maxBytes,
                                   ReadableFiles kinds);

}  // namespace vx40
