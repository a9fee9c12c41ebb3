// SPDX-License-Identifier: GPL-3.0-or-later
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
    FileTooLarge,     // beyond the file-size limit of the process or of the file system
    LinkNotFollowed,  // a link in a shared sticky folder that someone else may have planted
    Other,
};

struct [[nodiscard]] FileReplaceResult {
    FileReplaceFailure failure = FileReplaceFailure::None;
    int error = 0;  // the errno of the failing step, 0 on success

    bool Ok() const { return failure == FileReplaceFailure::None; }
};

enum class SyncToDisk : bool { No, Yes };

// Replaces the file at path whole with content, or leaves it exactly as it was. The content goes
// to a new file beside the target, which gets its name only once it is complete: an unnamed file
// where the file system makes one, so that even a killed process leaves nothing behind, otherwise
// a hidden temporary file that is removed again on any failure. The new file is renamed over the
// target, so a hard link to the old file keeps the old content.
//
// A symbolic link is followed to its final target, so the link stays a link; but a link in a
// sticky folder that everyone may write to (such as /tmp) is followed only when it belongs to the
// user or to the folder's owner, as the kernel's own protection would have it. An existing target
// keeps its permission bits and its group where the user may keep it (its owner only for root);
// a new file gets 0666 less the umask. A target that is not a regular file, or that may not be
// written (by access() for the effective user, or because no write bit is set at all, which also
// stops root), is refused before anything is written. With SyncToDisk::Yes the data and the new
// name are flushed to the disk before returning.
FileReplaceResult ReplaceFile(const std::string& path, std::string_view content, SyncToDisk sync);

// The file that ReplaceFile(path, ...) writes: path with its links followed as the replace follows
// them, as far as they can be followed. A dangling link gives the name it points to.
std::string ReplaceTargetPath(const std::string& path);

// A write beyond the file-size limit raises SIGXFSZ, which ends the process before the replace
// can report anything; a program that writes files ignores it at start, and such a write then
// fails as FileTooLarge.
void IgnoreFileSizeLimitSignal();

}  // namespace vx40
