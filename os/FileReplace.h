// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace vx40 {

// A failed replace is one of the file-replace kinds of FailureKind (TargetReadOnly to
// FileInUse) with the errno of the failing step. For LinkNotFollowed the detail names the link
// that was not followed when it is not the path itself but a folder on the way or a link that
// another link points at.

enum class SyncToDisk : bool { No, Yes };

struct [[nodiscard]] ReplacePairResult {
    Status first;   // failed: neither target was changed
    Status second;  // failed: the first target is new, the second as it was
};

// What a prepared replace holds on the system: the implementation of each system defines it.
struct ReplaceState;

// A replace whose new file is complete beside its target and waits to take its place. Nothing
// the user can see has changed yet: dropping it without Commit removes the new file again and
// leaves the target exactly as it was.
class [[nodiscard]] PreparedReplace {
  public:
    PreparedReplace(PreparedReplace&& other) noexcept;
    PreparedReplace(const PreparedReplace&) = delete;
    PreparedReplace& operator=(const PreparedReplace&) = delete;
    PreparedReplace& operator=(PreparedReplace&&) = delete;
    ~PreparedReplace();

    // The outcome of the preparation; only a prepared replace can be committed.
    const Status& Outcome() const { return result_; }
    bool Ok() const { return result_.Ok(); }

    // Puts the new file in place of the target in one step, with SIGINT, SIGTERM and SIGHUP held
    // back meanwhile, and with SyncToDisk::Yes flushes the new name to the disk. A failure leaves
    // the target as it was.
    Status Commit();

  private:
    friend PreparedReplace PrepareReplace(const std::string& path, std::string_view content,
                                          SyncToDisk sync);
    friend ReplacePairResult CommitReplacePair(PreparedReplace& first, PreparedReplace& second);

    explicit PreparedReplace(Status failure);
    explicit PreparedReplace(std::unique_ptr<ReplaceState> state);

    Status result_;
    // The new file and the folder it waits in; none where the preparation failed or the replace
    // was moved away.
    std::unique_ptr<ReplaceState> state_;
};

// Prepares the replace of the file at path with content: every check, then the complete content
// in a new file beside the target, flushed with SyncToDisk::Yes. The new file is unnamed where
// the file system makes such files; for an existing target it is then named as a hidden
// temporary file ".NAME.PID-...tmp" so that the commit is one rename, and for a new target the
// commit gives it its name. Elsewhere the hidden temporary file is made at once, readable by its
// owner only, and gets its final mode before anything is written to it. Hidden temporary files of
// earlier replaces of the same target whose process no longer runs are removed on the way.
//
// A symbolic link is followed to its final target, so the link stays a link; but a link in a
// sticky folder that everyone may write to (such as /tmp) is followed only when it belongs to the
// user or to the folder's owner, as the kernel's own protection would have it, for every link on
// the way: in the folders of the path as well as at its end. Another user's file in such a folder
// is not replaced either. An existing target keeps its permission bits and its group where the
// user may keep it (its owner only for root); a new file gets 0666 less the umask. A target that
// is not a regular file, or that may not be written (by access() for the effective user, or
// because no write bit is set at all, which also stops root), is refused before anything is
// written.
PreparedReplace PrepareReplace(const std::string& path, std::string_view content, SyncToDisk sync);

// Commits two prepared replaces directly one after the other, with SIGINT, SIGTERM and SIGHUP
// held back until both are in place; such a signal then takes effect as usual. The second is
// not committed when the first fails. Only SIGKILL (or a crash of the system) can still come
// between the two renames.
ReplacePairResult CommitReplacePair(PreparedReplace& first, PreparedReplace& second);

// Replaces the file at path whole with content, or leaves it exactly as it was: PrepareReplace,
// then Commit. A hard link to the old file keeps the old content.
Status ReplaceFile(const std::string& path, std::string_view content, SyncToDisk sync);

// The file that ReplaceFile(path, ...) writes: path with its links followed as the replace follows
// them, as far as they can be followed. A dangling link gives the name it points to.
std::string ReplaceTargetPath(const std::string& path);

// A write beyond the file-size limit raises SIGXFSZ, which ends the process before the replace
// can report anything; a program that writes files ignores it at start, and such a write then
// fails as FileTooLarge.
void IgnoreFileSizeLimitSignal();

}  // namespace vx40
