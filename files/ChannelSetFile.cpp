// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ChannelSetFile.h"

#include <utility>
#include <vector>

#include "files/FileFailureText.h"
#include "files/PrivateProfile.h"
#include "os/FileRead.h"
#include "text/ShownText.h"

namespace vx40 {

namespace {

// The 192 keys of rows 1 to 16 in the order in which they stand in the file: row by row, and
// within a row column by column.
class ChannelSetKeys {
  public:
    ChannelSetKeys() {
        for (int row = 1; row < kRowCount; ++row) {
            sections_[static_cast<std::size_t>(row - 1)] = ChannelSetSection(row);
        }
        for (int row = 1; row < kRowCount; ++row) {
            for (int column = 0; column < kColumnCount; ++column) {
                keys_.push_back({sections_[static_cast<std::size_t>(row - 1)],
                                 kChannelSetKeys[static_cast<std::size_t>(column)]});
            }
        }
    }

    const std::vector<ProfileKey>& Keys() const { return keys_; }

    // The writes of the table's cells to the keys.
    std::vector<ProfileWrite> Writes(const ChannelTable& table) const {
        std::vector<ProfileWrite> writes;
        writes.reserve(keys_.size());
        ForEachCell([&](std::size_t index, int column, int row) {
            writes.push_back({keys_[index].section, keys_[index].key, table.Cell(column, row)});
        });
        return writes;
    }

    // The values read for the keys into their cells; whether the text held any of the sections.
    static bool Apply(ChannelTable& table, ProfileValues read) {
        ForEachCell([&](std::size_t index, int column, int row) {
            table.SetCell(column, row, std::move(read.values[index]));
        });
        return read.anySection;
    }

    template <typename Visit>
    static void ForEachCell(Visit&& visit) {
        std::size_t index = 0;
        for (int row = 1; row < kRowCount; ++row) {
            for (int column = 0; column < kColumnCount; ++column) {
                visit(index++, column, row);
            }
        }
    }

  private:
    std::array<std::string, kChannelCount> sections_;
    std::vector<ProfileKey> keys_;
};

}  // namespace

std::string ChannelSetSection(int row) {
    return "Wert" + std::to_string(row);
}

void SaveChannelSet(const ChannelTable& table, IniFileStore& store) {
    const ChannelSetKeys keys;
    store.WriteStrings(keys.Writes(table));
}

std::optional<std::string> ChannelSetText(const ChannelTable& table, std::string_view existing) {
    const ChannelSetKeys keys;
    return PrivateProfileTextAfterWrites(existing, keys.Writes(table));
}

bool LoadChannelSet(ChannelTable& table, const IniFileStore& store) {
    const ChannelSetKeys keys;
    return keys.Apply(table, store.ReadValues(keys.Keys(), ""));
}

bool LoadChannelSetText(ChannelTable& table, std::string_view text) {
    const ChannelSetKeys keys;
    return keys.Apply(table, GetPrivateProfileValuesOfText(keys.Keys(), "", text));
}

std::string NoChannelSetMessage(const std::string& path) {
    return "keine Kanaldatei: " + ShownText(path);
}

std::string ChannelSetLoadRefusal(const std::string& path) {
    // Nothing is read: the file is only opened, as each read of the load will open it.
    const Status opened =
        ReadFileChunks(path, 0, ReadableFiles::RegularOnly, [](std::string_view) { return true; });
    if (opened.Ok()) {
        return {};
    }
    return FileReadFailureMessage(path, "kann nicht geladen", opened.Error().error) +
           " Die Tabelle bleibt, wie sie war.";
}

}  // namespace vx40
