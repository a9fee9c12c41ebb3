#include "files/ChannelSetFile.h"

#include <cerrno>
#include <cstring>

#include "platform/FileRead.h"

namespace vx40 {

namespace {

std::string ReadFailureReason(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return "sie existiert nicht";
        case EACCES:
        case EPERM:
            return "sie darf nicht gelesen werden";
        case EISDIR:
        case EINVAL:
            return "sie ist keine gewöhnliche Datei";
        default:
            break;
    }
    return "Systemfehler " + std::to_string(error) + " (" + std::strerror(error) + ")";
}

}  // namespace

std::string ChannelSetSection(int row) {
    return "Wert" + std::to_string(row);
}

void SaveChannelSet(const ChannelTable& table, IniFileStore& store) {
    for (int row = 1; row < kRowCount; ++row) {
        const std::string section = ChannelSetSection(row);
        for (int column = 0; column < kColumnCount; ++column) {
            store.WriteString(section, kChannelSetKeys[static_cast<std::size_t>(column)],
                              table.Cell(column, row));
        }
    }
}

void LoadChannelSet(ChannelTable& table, const IniFileStore& store) {
    for (int row = 1; row < kRowCount; ++row) {
        const std::string section = ChannelSetSection(row);
        for (int column = 0; column < kColumnCount; ++column) {
            table.SetCell(
                column, row,
                store.ReadString(section, kChannelSetKeys[static_cast<std::size_t>(column)], ""));
        }
    }
}

std::string ChannelSetLoadRefusal(const std::string& path) {
    // Nothing is read: the file is only opened, as each read of the load will open it.
    const FileReadResult opened =
        ReadFileChunks(path, 0, ReadableFiles::RegularOnly, [](std::string_view) { return true; });
    if (opened.Ok()) {
        return {};
    }
    return "Die Datei \"" + path +
           "\" kann nicht geladen werden: " + ReadFailureReason(opened.error) +
           ". Die Tabelle bleibt, wie sie war.";
}

}  // namespace vx40
