// SPDX-License-Identifier: GPL-3.0-or-later
#include "BenchmarkFolder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace vx40::bench {
namespace {

std::string Root(FolderKind kind) {
    const char* variable =
        kind == FolderKind::Disk ? "VX40_BENCH_DISK_DIR" : "VX40_BENCH_TMPFS_DIR";
    if (const char* value = std::getenv(variable); value != nullptr && *value != '\0') {
        return value;
    }
    return kind == FolderKind::Disk ? VX40_BENCH_DEFAULT_DISK_DIR : "/dev/shm";
}

}  // namespace

BenchmarkFolder::BenchmarkFolder(FolderKind kind) {
    std::string pattern = Root(kind) + "/vx40-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        error_ = "cannot make a folder " + pattern + ": " + std::strerror(errno);
        return;
    }
    path_ = pattern;
}

BenchmarkFolder::~BenchmarkFolder() {
    if (Valid()) {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
}

std::string BenchmarkFolder::Path(std::string_view name) const {
    return path_ + "/" + std::string(name);
}

}  // namespace vx40::bench
