#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vx40::cli_test {

// A fresh directory for one test, removed with everything in it at the end.
class TemporaryDirectory {
  public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    std::string Path(const std::string& name) const { return (path_ / name).string(); }
    // The names of the entries, sorted.
    std::vector<std::string> Entries() const;

  private:
    std::filesystem::path path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace vx40::cli_test
