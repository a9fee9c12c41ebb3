#include "files/ChannelSetFile.h"

#include "files/FileReadFailure.h"
#include "platform/FileRead.h"
#include "platform/PrivateProfile.h"

namespace vx40 {

namespace {

// The 192 cells of rows 1 to 16 in the order of their keys in the file: row by row, and within a
// row column by column. Stops when visit returns false.
template <typename Visit>
void ForEachKey(Visit&& visit) {
    for (int row = 1; row < kRowCount; ++row) {
        const std::string section = ChannelSetSection(row);
        for (int column = 0; column < kColumnCount; ++column) {
            if (!visit(column, row, section, kChannelSetKeys[static_cast<std::size_t>(column)])) {
                return;
            }
        }
    }
}

}  // namespace

std::string ChannelSetSection(int row) {
    return "Wert" + std::to_string(row);
}

void SaveChannelSet(const ChannelTable& table, IniFileStore& store) {
    ForEachKey([&](int column, int row, const std::string& section, std::string_view key) {
        store.WriteString(section, key, table.Cell(column, row));
        return true;
    });
}

std::optional<std::string> ChannelSetText(const ChannelTable& table) {
    std::optional<std::string> text(std::in_place);
    ForEachKey([&](int column, int row, const std::string& section, std::string_view key) {
        text = PrivateProfileTextAfterWrite(*text, section, key, table.Cell(column, row));
        return text.has_value();
    });
    return text;
}

void LoadChannelSet(ChannelTable& table, const IniFileStore& store) {
    ForEachKey([&](int column, int row, const std::string& section, std::string_view key) {
        table.SetCell(column, row, store.ReadString(section, key, ""));
        return true;
    });
}

std::string ChannelSetLoadRefusal(const std::string& path) {
    // Nothing is read: the file is only opened, as each read of the load will open it.
    const FileReadResult opened =
        ReadFileChunks(path, 0, ReadableFiles::RegularOnly, [](std::string_view) { return true; });
    if (opened.Ok()) {
        return {};
    }
    return "Die Datei \"" + path +
           "\" kann nicht geladen werden: " + FileReadFailureReason(opened.error) +
           ". Die Tabelle bleibt, wie sie war.";
}

}  // namespace vx40
