// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace vx40::bench {

// Where a file benchmark writes: the real disk or a RAM file system, side by side in one run.
enum class FolderKind { Disk, Tmpfs };

// A fresh folder for one benchmark, removed with everything in it afterwards. The disk folder
// lies under VX40_BENCH_DISK_DIR (default: the benchmark's build folder), the RAM folder under
// VX40_BENCH_TMPFS_DIR (default: /dev/shm). Valid() is false when the folder cannot be made.
class BenchmarkFolder {
  public:
    explicit BenchmarkFolder(FolderKind kind);
    BenchmarkFolder(const BenchmarkFolder&) = delete;
    BenchmarkFolder& operator=(const BenchmarkFolder&) = delete;
    ~BenchmarkFolder();

    bool Valid() const { return !path_.empty(); }
    const std::string& Error() const { return error_; }
    std::string Path(std::string_view name) const;

  private:
    std::string path_;
    std::string error_;
};

}  // namespace vx40::bench
