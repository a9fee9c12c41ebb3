#pragma once

#include <string>
#include <string_view>

namespace vx40 {

// Why a replace failed, in the terms a message to the user needs.
enum class FileReplaceFailure {
    None,
    TargetReadOnly,     // the target exists and may not be written
    FolderNotWritable,  // no new file may be made in the target's folder
    NotRegularFile,     // the target is a folder, a device, a FIFO, ...
    FolderMissing,      // the target's folder does not exist
    DiskFull,
    Other,
};

struct [[nodiscard]] FileReplaceResult {
    FileReplaceFailure failure = FileReplaceFailure::None;
    int error = 0;  // the errno of the failing step, 0 on success

    bool Ok() const { return failure == FileReplaceFailure::None; }
};

enum class SyncToDisk : bool { No, Yes };

// Replaces the file at path whole with content, or leaves it exactly as it was. The content goes
// to a new file beside the target, which is renamed over the target only once it is complete; on
// any failure the new file is removed again. A symbolic link is followed to its final target, so
// the link stays a link. An existing target keeps its permission bits; a new file gets 0666 less
// the umask. A target that is not a regular file, or that may not be written (by access() for the
// effective user, or because no write bit is set at all, which also stops root), is refused before
// anything is written. With SyncToDisk::Yes the data and the rename are flushed to the disk before
// returning.
FileReplaceResult ReplaceFile(const std::string& path, std::string_view content, SyncToDisk sync);

}  // namespace vx40
