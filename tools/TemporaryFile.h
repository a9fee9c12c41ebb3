#pragma once

#include <string>

namespace vx40::tool {

// A new, empty file with a name of its own beside a target file, removed again when the object
// goes away. Valid() is false, with Error() the errno, when no such file could be made.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& besidePath);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool Valid() const { return error_ == 0; }
    int Error() const { return error_; }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    int error_ = 0;
};

}  // namespace vx40::tool
