// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>

namespace vx40::posix {

// In a sticky folder that everyone may write to (such as /tmp), anyone may plant a link or a file
// under a name that another user is about to write; it is only trusted when it belongs to the
// user or to the folder's owner, as the kernel's own protection would have it.
bool IsTrustedIn(const struct stat& entry, const struct stat& folder);

// Where a path leads once its links are followed, or where following them stopped.
struct ResolvedTarget {
    std::string path;                   // the file reached, or the path where the walk stopped
    std::string folder;                 // the folder that holds it, "." for the current one
    std::string name;                   // its name in that folder
    struct stat folderStatus {};        // as the folder was checked
    std::optional<struct stat> status;  // none: no file of that name yet
    int error = 0;                      // the errno that stopped the walk, 0 when it got through
    bool mustBeFolder = false;          // the path ends in "/" or "/.", or names a folder itself
    bool linkNotFollowed = false;       // a link not trusted by IsTrustedIn stopped the walk
    std::string untrustedLink;          // that link, when it is not the path itself
};

// Walks the path name by name with lstat and follows each symbolic link on the way, in the
// folders as well as at the end, judging each by IsTrustedIn in the folder it lies in; a relative
// link target counts from the folder of the link. A missing last name is a new file in its
// folder.
ResolvedTarget ResolveLinks(const std::string& path);

}  // namespace vx40::posix
