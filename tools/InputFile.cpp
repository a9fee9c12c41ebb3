#include "tools/InputFile.h"

#include <limits>

#include "files/ChannelSetFile.h"
#include "files/FileReadFailure.h"
#include "platform/IniFileStore.h"
#include "tools/ToolError.h"

namespace vx40::tool {
namespace {

[[noreturn]] void Unreadable(const std::string& path, int error) {
    throw ToolError("Die Datei \"" + path +
                        "\" kann nicht gelesen werden: " + FileReadFailureReason(error) + ".",
                    true);
}

}  // namespace

void CheckInputReadable(const std::string& path, ReadableFiles kinds) {
    if (const FilePrefix opened = ReadFilePrefix(path, 0, kinds); !opened.result.Ok()) {
        Unreadable(path, opened.result.error);
    }
}

ChannelTable LoadChannelSetInput(const std::string& path) {
    CheckInputReadable(path, ReadableFiles::RegularOnly);
    IniFileStore store;
    store.SetFileName(path);
    ChannelTable table;
    LoadChannelSet(table, store);
    return table;
}

std::string ReadInputText(const std::string& path) {
    FilePrefix read =
        ReadFilePrefix(path, std::numeric_limits<std::size_t>::max(), ReadableFiles::RegularOnly);
    if (!read.result.Ok()) {
        Unreadable(path, read.result.error);
    }
    return std::move(read.bytes);
}

}  // namespace vx40::tool
