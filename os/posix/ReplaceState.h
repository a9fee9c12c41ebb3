// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "os/FileReplace.h"
#include "os/posix/FileDescriptor.h"

namespace vx40 {

// A prepared replace on a POSIX system: the complete new file in the checked folder of its
// target, unnamed where the file system makes such files, else under its hidden temporary name.
struct ReplaceState {
    ReplaceState(FileDescriptor folderFd, std::string targetName, SyncToDisk syncToDisk);
    ReplaceState(const ReplaceState&) = delete;
    ReplaceState& operator=(const ReplaceState&) = delete;
    // Removes a named new file that never took the target's place.
    ~ReplaceState();

    // The two steps of a commit: the new file gets its hidden temporary name where it replaces
    // an existing file, then takes the target's place in one rename or link. Each commits the
    // state once: a second attempt fails with EALREADY.
    Status NameNewFile();
    Status PutInPlace();
    // With SyncToDisk::Yes flushes the folder, and with it the new name, to the disk.
    void SyncFolder() const;

    FileDescriptor folder;   // the target's folder, as it was checked
    std::string name;        // the target's name in that folder
    std::string tempName;    // the new file's name there; empty while it has none
    FileDescriptor unnamed;  // the new file while it has no name yet
    bool replacesExisting = false;
    SyncToDisk sync = SyncToDisk::No;
    bool committed = false;
};

}  // namespace vx40
