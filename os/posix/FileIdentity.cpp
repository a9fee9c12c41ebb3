// SPDX-License-Identifier: GPL-3.0-or-later
#include "os/FileIdentity.h"

#include <sys/stat.h>
#include <unistd.h>

namespace vx40 {
namespace {

FileIdentity IdentityOfStat(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return IdentityOfStat(st);
}

std::optional<FileIdentity> RedirectedFileIdentity(StandardStream stream) {
    struct stat st {};
    const int fd = stream == StandardStream::Output ? STDOUT_FILENO : STDIN_FILENO;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    return IdentityOfStat(st);
}

}  // namespace vx40
