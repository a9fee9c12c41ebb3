// SPDX-License-Identifier: GPL-3.0-or-later
// What every system's file calls are built from alike: a whole read out of the chunked one, a
// replace out of its two phases.
#include "os/FileRead.h"
#include "os/FileReplace.h"

namespace vx40 {

Result<std::string> ReadFilePrefix(const std::string& path, std::size_t maxBytes,
                                   ReadableFiles kinds) {
    std::string bytes;
    Status read = ReadFileChunks(path, maxBytes, kinds, [&](std::string_view chunk) {
        bytes.append(chunk);
        return true;
    });
    if (!read.Ok()) {
        return read.Error();
    }
    return bytes;
}

Status ReplaceFile(const std::string& path, std::string_view content, SyncToDisk sync) {
    PreparedReplace prepared = PrepareReplace(path, content, sync);
    if (!prepared.Ok()) {
        return prepared.Outcome();
    }
    return prepared.Commit();
}

}  // namespace vx40
