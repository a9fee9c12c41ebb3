// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/InputFile.h"

#include <sys/stat.h>

#include <filesystem>
#include <limits>
#include <optional>
#include <vector>

#include "files/ChannelSetFile.h"
#include "files/FileFailureText.h"
#include "platform/FileReplace.h"
#include "platform/IniFileStore.h"
#include "tools/ToolError.h"

namespace vx40::tool {
namespace {

struct FileIdentity {
    std::filesystem::path name;                     // absolute, links followed
    std::optional<std::pair<dev_t, ino_t>> onDisk;  // where the file exists
};

FileIdentity IdentityOf(const std::string& path) {
    FileIdentity identity;
    std::error_code error;
    identity.name = std::filesystem::weakly_canonical(
        std::filesystem::absolute(ReplaceTargetPath(path), error), error);
    if (error) {
        identity.name = std::filesystem::absolute(path).lexically_normal();
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        identity.onDisk = std::pair(st.st_dev, st.st_ino);
    }
    return identity;
}

}  // namespace

void RefuseUnreadableInput(const std::string& path, int error) {
    throw ToolError(FileReadFailureMessage(path, "kann nicht gelesen", error), true);
}

void CheckInputReadable(const std::string& path, ReadableFiles kinds) {
    ReadInputBytes(path, 0, kinds);
}

std::string ReadInputBytes(const std::string& path, std::size_t maxBytes, ReadableFiles kinds) {
    FilePrefix read = ReadFilePrefix(path, maxBytes, kinds);
    if (!read.result.Ok()) {
        RefuseUnreadableInput(path, read.result.error);
    }
    return std::move(read.bytes);
}

ChannelTable LoadChannelSetInput(const std::string& path) {
    CheckInputReadable(path, ReadableFiles::RegularOnly);
    IniFileStore store;
    store.SetFileName(path);
    ChannelTable table;
    if (!LoadChannelSet(table, store)) {
        throw ToolRefusal(NoChannelSetMessage(path));
    }
    return table;
}

std::string ReadInputText(const std::string& path) {
    return ReadInputBytes(path, std::numeric_limits<std::size_t>::max(),
                          ReadableFiles::RegularOnly);
}

void CheckDistinctFiles(std::initializer_list<FileArgument> files) {
    std::vector<std::pair<std::string_view, FileIdentity>> seen;
    for (const FileArgument& file : files) {
        if (file.path.empty()) {
            continue;
        }
        FileIdentity identity = IdentityOf(file.path);
        for (const auto& [name, other] : seen) {
            if (identity.name == other.name ||
                (identity.onDisk.has_value() && identity.onDisk == other.onDisk)) {
                throw ToolError(
                    std::string(name) + " und " + std::string(file.name) + " nennen dieselbe Datei",
                    true);
            }
        }
        seen.emplace_back(file.name, std::move(identity));
    }
}

}  // namespace vx40::tool
