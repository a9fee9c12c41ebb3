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

Result<std::string> ChannelSetText(const ChannelTable& table, std::string_view existing) {
    const ChannelSetKeys keys;
    Result<std::string> text = PrivateProfileTextAfterWrites(existing, keys.Writes(table));
    if (!text.Ok()) {
        // The keys are fixed names: only a cell's text can be refused.
        const Failure& refused = text.Error();
        return Failure(FailureKind::ValueNotWritable, 0, refused.detail, refused.position);
    }
    return text;
}

void SaveChannelSet(const ChannelTable& table, IniFileStore& store) {
    store.Edit([&](std::string_view existing) { return ChannelSetText(table, existing); });
}

Status LoadChannelSetText(ChannelTable& table, std::string_view text) {
    const ChannelSetKeys keys;
    if (!keys.Apply(table, GetPrivateProfileValuesOfText(keys.Keys(), "", text))) {
        return Failure(FailureKind::NoChannelSet);
    }
    return {};
}

Status LoadChannelSet(ChannelTable& table, const std::string& path) {
    const Result<std::string> text = ReadPrivateProfileText(path);
    const Status loaded =
        LoadChannelSetText(table, text.Ok() ? std::string_view(*text) : std::string_view());
    if (!text.Ok()) {
        return text.Error();
    }
    if (!loaded.Ok()) {
        return Failure(FailureKind::NoChannelSet, 0, path);
    }
    return {};
}

std::string NoChannelSetMessage(const std::string& path) {
    return "keine Kanaldatei: " + ShownText(path);
}

Status CheckChannelSetLoadable(const std::string& path) {
    // Nothing is read: the file is only opened, as the load will open it.
    return ReadFileChunks(path, 0, ReadableFiles::RegularOnly,
                          [](std::string_view) { return true; });
}

std::string ChannelSetLoadRefusal(const Failure& failure) {
    return FileReadFailureMessage(failure.detail, "kann nicht geladen", failure.error) +
           " Die Tabelle bleibt, wie sie war.";
}

}  // namespace vx40
