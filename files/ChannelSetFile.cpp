#include "files/ChannelSetFile.h"

namespace vx40 {

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

}  // namespace vx40
