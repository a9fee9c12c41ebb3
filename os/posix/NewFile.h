// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "os/FileReplace.h"
#include "os/posix/FileDescriptor.h"

namespace vx40::posix {

// The new file of a replace, made beside its target. Each function returns the errno of a
// failure, 0 when it went well.

// Gives the new file what the old one had (its owner and group where the user may, its
// permission bits), then its content, flushed with SyncToDisk::Yes.
int FillNewFile(int fd, std::string_view content, const std::optional<struct stat>& old,
                SyncToDisk sync);

// Whether an unnamed file (O_TMPFILE) can later be given a name: through /proc, or as root
// without it.
bool CanNameUnnamedFile(int fd);

// Gives the unnamed file at fd the name in folderFd.
int LinkUnnamedFile(int fd, int folderFd, const std::string& name);

// Links the unnamed file under a fresh hidden temporary name for the target name; returns that
// name, or empty with the errno in error.
std::string LinkUnderTempName(int fd, int folderFd, const std::string& name, int& error);

// Makes a new file with mode under a fresh hidden temporary name for the target name, never
// through a link; tempName is that name while the file exists. Returns the file, or no file
// (-1) with the errno in error.
FileDescriptor CreateUnderTempName(int folderFd, const std::string& name, mode_t mode,
                                   std::string& tempName, int& error);

}  // namespace vx40::posix
