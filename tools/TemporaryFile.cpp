#include "tools/TemporaryFile.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

namespace vx40::tool {

TemporaryFile::TemporaryFile(const std::string& besidePath) {
    const auto slash = besidePath.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : besidePath.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? besidePath : besidePath.substr(slash + 1);
    // A leading dot keeps the file out of plain listings while it exists.
    path_ = (slash == std::string::npos ? "./." : folder + ".") + name.substr(0, 64) +
            ".vx40-tool-XXXXXX";
    const int fd = mkostemp(path_.data(), O_CLOEXEC);
    if (fd < 0) {
        error_ = errno;
        path_.clear();
        return;
    }
    close(fd);
}

TemporaryFile::~TemporaryFile() {
    if (!path_.empty()) {
        unlink(path_.c_str());
    }
}

}  // namespace vx40::tool
