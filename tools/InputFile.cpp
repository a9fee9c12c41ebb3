// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/InputFile.h"

#include <cerrno>
#include <filesystem>
#include <limits>
#include <optional>
#include <vector>

#include "files/ChannelSetFile.h"
#include "os/FileIdentity.h"
#include "os/FileReplace.h"
#include "os/StandardStreams.h"
#include "text/CharacterRules.h"
#include "tools/ToolFailure.h"

namespace vx40::tool {
namespace {

constexpr std::string_view kStandardStream = "-";

// A file argument as the same-file refusals compare it: the name the writer would replace and the
// file on the disk.
struct ArgumentIdentity {
    std::optional<std::filesystem::path> name;  // absolute, links followed; none for "-"
    std::optional<FileIdentity> onDisk;         // where the file exists
};

ArgumentIdentity IdentityOfArgument(const FileArgument& file) {
    if (IsStandardStream(file.path)) {
        // A terminal or a pipe may well be both standard streams at once; only a redirected
        // file can be lost.
        return {std::nullopt, RedirectedFileIdentity(file.output ? StandardStream::Output
                                                                 : StandardStream::Input)};
    }
    const std::string& path = file.path;
    ArgumentIdentity identity;
    std::error_code error;
    identity.name = std::filesystem::weakly_canonical(
        std::filesystem::absolute(ReplaceTargetPath(path), error), error);
    if (error) {
        identity.name = std::filesystem::absolute(path).lexically_normal();
    }
    identity.onDisk = IdentityOf(path);
    return identity;
}

bool SameFile(const ArgumentIdentity& a, const ArgumentIdentity& b) {
    return (a.name.has_value() && a.name == b.name) ||
           (a.onDisk.has_value() && a.onDisk == b.onDisk);
}

ReadableFiles InputKinds(const std::string& path, ReadableFiles kinds) {
    return IsStandardStream(path) ? ReadableFiles::AnyWaitingForInput : kinds;
}

}  // namespace

bool IsStandardStream(const std::string& path) {
    return path == kStandardStream;
}

bool IsChannelSetPath(const std::string& path) {
    constexpr std::string_view kExtension = ".vx4";
    if (path.size() < kExtension.size()) {
        return false;
    }
    return AsciiLowered(std::string_view(path).substr(path.size() - kExtension.size())) ==
           kExtension;
}

Result<std::string> InputReadPath(const std::string& path) {
    if (!IsStandardStream(path)) {
        return path;
    }
    // The tool keeps a closed standard input taken by a stand-in; reopening that by name would
    // read it as empty.
    if (!StandardInputReadable()) {
        return UnreadableInput(path, EBADF);
    }
    return StandardInputPath();
}

Status ReadInputChunks(const std::string& path,
                       const std::function<void(std::string_view)>& consume) {
    const Result<std::string> readPath = InputReadPath(path);
    if (!readPath) {
        return readPath.Error();
    }
    const Status read =
        ReadFileChunks(*readPath, std::numeric_limits<std::size_t>::max(),
                       InputKinds(path, ReadableFiles::RegularOnly), [&](std::string_view chunk) {
                           consume(chunk);
                           return true;
                       });
    if (!read.Ok()) {
        return UnreadableInput(path, read.Error().error);
    }
    return {};
}

Failure UnreadableInput(const std::string& path, int error) {
    return Failure(FailureKind::ReadFailed, error, path);
}

Result<std::string> ReadInputBytes(const std::string& path, std::size_t maxBytes,
                                   ReadableFiles kinds) {
    const Result<std::string> readPath = InputReadPath(path);
    if (!readPath) {
        return readPath.Error();
    }
    Result<std::string> read = ReadFilePrefix(*readPath, maxBytes, InputKinds(path, kinds));
    if (!read.Ok()) {
        return UnreadableInput(path, read.Error().error);
    }
    return read;
}

Result<ChannelTable> LoadChannelSetInput(const std::string& path) {
    // Standard input can be read once, so every input is taken whole and read as text; a file
    // that cannot be read is refused rather than loaded as empty cells.
    const Result<std::string> text =
        ReadInputBytes(path, std::numeric_limits<std::size_t>::max(), ReadableFiles::RegularOnly);
    if (!text) {
        return text.Error();
    }
    ChannelTable table;
    if (!LoadChannelSetText(table, *text).Ok()) {
        return Failure(FailureKind::NoChannelSet, 0, path);
    }
    return table;
}

Status CheckDistinctFiles(std::initializer_list<FileArgument> files) {
    std::vector<std::pair<std::string_view, ArgumentIdentity>> seen;
    for (const FileArgument& file : files) {
        if (file.path.empty()) {
            continue;
        }
        ArgumentIdentity identity = IdentityOfArgument(file);
        for (const auto& [name, other] : seen) {
            if (SameFile(identity, other)) {
                return CallRefusal(std::string(name) + " und " + std::string(file.name) +
                                   " nennen dieselbe Datei");
            }
        }
        seen.emplace_back(file.name, std::move(identity));
    }
    return {};
}

Status CheckStandardInputOnce(std::initializer_list<FileArgument> inputs) {
    const FileArgument* first = nullptr;
    for (const FileArgument& input : inputs) {
        if (!IsStandardStream(input.path)) {
            continue;
        }
        if (first != nullptr) {
            return CallRefusal(std::string(first->name) + " und " + std::string(input.name) +
                               " lesen beide die Standardeingabe; sie kann nur einmal gelesen "
                               "werden");
        }
        first = &input;
    }
    return {};
}

}  // namespace vx40::tool
