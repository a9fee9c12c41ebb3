// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vx40 {

// What makes a file one file, whatever names lead to it: links and hard links to it have the same
// identity. Each system fills it with its own pair (the device and the file's number on it).
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t file = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The file that path names, symbolic links followed; none where no file can be reached by it.
std::optional<FileIdentity> IdentityOf(const std::string& path);

enum class StandardStream { Input, Output };

// The regular file that the standard stream is redirected to; none for a terminal, a pipe, a
// device or a closed stream. Only a file can be lost by being read and written at once.
std::optional<FileIdentity> RedirectedFileIdentity(StandardStream stream);

}  // namespace vx40
