// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ChannelSetFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "CalculatedTable.h"
#include "TempDir.h"
#include "base/RuntimeFailure.h"

namespace vx40 {
namespace {

using testutil::FileSizeLimit;
using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;

const std::vector<std::string> kKeys = {"Frequenz", "N0", "N1", "N2", "D7", "D6",
                                        "D5",       "D4", "D3", "D2", "D1", "D0"};

// The file a save of the table writes into an empty file: 16 sections of 12 keys, CR LF lines.
std::string SavedText(const ChannelTable& table, int firstRow = 1) {
    std::string text;
    for (int r = firstRow; r <= 16; ++r) {
        text += "[Wert" + std::to_string(r) + "]\r\n";
        for (int c = 0; c < 12; ++c) {
            text += kKeys[static_cast<std::size_t>(c)] + "=" + table.Cell(c, r) + "\r\n";
        }
    }
    return text;
}

IniFileStore StoreOn(const std::string& path) {
    IniFileStore store;
    store.SetFileName(path);
    return store;
}

TEST(ChannelSetFile, SaveIntoAMissingOrEmptyFileWritesThe208Lines) {
    TempDir dir;
    ChannelTable table = testutil::CalculatedTable();
    table.SetCell(0, 7, "");  // an empty cell is a key with an empty value
    WriteBytes(dir.Path("empty.vx4"), "");
    for (const char* name : {"missing.vx4", "empty.vx4"}) {
        IniFileStore store = StoreOn(dir.Path(name));
        SaveChannelSet(table, store);
        const std::string text = ReadBytes(dir.Path(name));
        EXPECT_EQ(text, SavedText(table)) << name;
        EXPECT_NE(text.find("[Wert7]\r\nFrequenz=\r\nN0="), std::string::npos);
        std::size_t lines = 0;
        for (std::size_t at = text.find("\r\n"); at != std::string::npos;
             at = text.find("\r\n", at + 2)) {
            ++lines;
        }
        EXPECT_EQ(lines, 208u);
    }
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"empty.vx4", "missing.vx4"}));
}

// The text made in memory is byte for byte what a save writes into an empty file.
TEST(ChannelSetFile, TextInMemoryIsTheSaveIntoAnEmptyFile) {
    ChannelTable calculated = testutil::CalculatedTable();
    calculated.SetCell(0, 7, "");
    calculated.SetCell(0, 16, " 798300");
    ChannelTable cleared;
    cleared.Clear();
    for (const ChannelTable* table : {&calculated, &cleared}) {
        TempDir dir;
        WriteBytes(dir.Path("empty.vx4"), "");
        IniFileStore store = StoreOn(dir.Path("empty.vx4"));
        SaveChannelSet(*table, store);
        const std::optional<std::string> text = ChannelSetText(*table);
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(*text, ReadBytes(dir.Path("empty.vx4")));
        EXPECT_EQ(*text, SavedText(*table));
    }
}

TEST(ChannelSetFile, TextOfACellThatWouldBreakALineIsNone) {
    for (const char* text : {"1\r\n[Wert2]", "0\n", "a\rb"}) {
        ChannelTable table = testutil::CalculatedTable();
        table.SetCell(11, 16, text);
        EXPECT_FALSE(ChannelSetText(table).has_value()) << text;
    }
}

TEST(ChannelSetFile, SaveAndLoadGiveBackEveryCell) {
    TempDir dir;
    ChannelTable saved = testutil::CalculatedTable();
    saved.SetCell(5, 3, "");
    saved.SetCell(0, 16, "kein Wert");
    IniFileStore store = StoreOn(dir.Path("set.vx4"));
    SaveChannelSet(saved, store);

    ChannelTable loaded;
    loaded.WriteHeaderRow();
    loaded.SetCell(2, 0, "header stays");
    LoadChannelSet(loaded, store);
    for (int r = 1; r < kRowCount; ++r) {
        for (int c = 0; c < kColumnCount; ++c) {
            EXPECT_EQ(loaded.Cell(c, r), saved.Cell(c, r)) << "cell " << c << ", " << r;
        }
    }
    EXPECT_EQ(loaded.Cell(2, 0), "header stays");
    EXPECT_EQ(loaded.Cell(3, 0), "n2");
}

TEST(ChannelSetFile, ClearedTableLoadsAsEmptyCells) {
    TempDir dir;
    ChannelTable cleared;
    cleared.Clear();
    IniFileStore store = StoreOn(dir.Path("cleared.vx4"));
    SaveChannelSet(cleared, store);
    EXPECT_EQ(ReadBytes(dir.Path("cleared.vx4")), SavedText(cleared));
    // Saving the blanks again must not add blanks after "=" each time.
    SaveChannelSet(cleared, store);
    EXPECT_EQ(ReadBytes(dir.Path("cleared.vx4")), SavedText(cleared));

    ChannelTable loaded = testutil::CalculatedTable();
    LoadChannelSet(loaded, store);
    for (int r = 1; r < kRowCount; ++r) {
        for (int c = 0; c < kColumnCount; ++c) {
            EXPECT_EQ(loaded.Cell(c, r), "");
        }
    }
}

TEST(ChannelSetFile, MissingFileLoadsAsEmptyCells) {
    TempDir dir;
    ChannelTable table = testutil::CalculatedTable();
    LoadChannelSet(table, StoreOn(dir.Path("none.vx4")));
    EXPECT_EQ(table.Cell(0, 1), "");
    EXPECT_EQ(table.Cell(11, 16), "");
    EXPECT_EQ(table.Cell(0, 0), "Frequenz");
}

// Whether a file is a channel-set file at all: it holds one of the sections Wert1 to Wert16, in
// any letter case, with keys or without. Every other file still loads, as empty cells.
TEST(ChannelSetFile, LoadTellsWhetherTheFileHoldsAChannelSection) {
    const struct {
        std::string content;
        bool channelSet;
    } cases[] = {
        {"[Wert1]\r\nFrequenz=798300\r\n", true},
        {"; nur die letzte\n[ wert16 ]\n", true},
        {"[Allgemein]\nName=x\n\r[WERT9]", true},
        {"", false},
        {"798300\n145125\n", false},
        {"[Wert17]\nFrequenz=1\n[Wert0]\n[Wert]\n; [Wert1]\nWert1=1\n", false},
        {std::string("\xff\xfe[\0W\0e\0r\0t\0"
                     "1\0]\0\n\0",
                     18),
         false},
        {std::string(128, '\x0f'), false},
    };
    for (const auto& row : cases) {
        TempDir dir;
        WriteBytes(dir.Path("in.vx4"), row.content);
        ChannelTable table = testutil::CalculatedTable();
        EXPECT_EQ(LoadChannelSet(table, StoreOn(dir.Path("in.vx4"))), row.channelSet)
            << row.content;
        if (!row.channelSet) {
            EXPECT_EQ(table.Cell(0, 1), "");
            EXPECT_EQ(table.Cell(11, 16), "");
        }
    }
    TempDir dir;
    ChannelTable table;
    EXPECT_FALSE(LoadChannelSet(table, StoreOn(dir.Path("fehlt.vx4"))));
}

TEST(ChannelSetFile, FileOfAnotherProgramLoads) {
    TempDir dir;
    WriteBytes(dir.Path("other.vx4"),
               "; written by hand\n"
               "[general]\n"
               "version = 2\n"
               "\n"
               "[wert1]\n"
               "d0 = 04\n"
               "  frequenz   =  798300\n"
               "n0=120\n"
               "N1 = 114\n"
               "n2= 3\n"
               "; D7 to D1 follow\n"
               "d7=05\nd6=08\nd5=03\nd4=07\nd3=02\nd2=07\nd1=08\n"
               "extra=ignored\n"
               "\n"
               "[WERT16]\n"
               "D0=0F\n");
    ChannelTable table = testutil::CalculatedTable();
    LoadChannelSet(table, StoreOn(dir.Path("other.vx4")));
    const std::vector<std::string> row1 = {"798300", "120", "114", "3",  "05", "08",
                                           "03",     "07",  "02",  "07", "08", "04"};
    for (int c = 0; c < kColumnCount; ++c) {
        EXPECT_EQ(table.Cell(c, 1), row1[static_cast<std::size_t>(c)]);
        EXPECT_EQ(table.Cell(c, 2), "");
    }
    EXPECT_EQ(table.Cell(11, 16), "0F");
    EXPECT_EQ(table.Cell(10, 16), "");
}

TEST(ChannelSetFile, SaveOverAFileKeepsItsOtherSectionsAndItsOrder) {
    TempDir dir;
    const std::string head =
        "; channel set\r\n"
        "[Other]\r\n"
        "a=1\r\n"
        "\r\n";
    std::string wert1 = "[Wert1]\r\n";
    for (int c = 11; c >= 0; --c) {
        wert1 += kKeys[static_cast<std::size_t>(c)] + "=old\r\n";
    }
    const std::string tail = "; the end\r\n[Tail]\r\nt=1\r\n";
    WriteBytes(dir.Path("set.vx4"), head + wert1 + tail);

    const ChannelTable table = testutil::CalculatedTable();
    IniFileStore store = StoreOn(dir.Path("set.vx4"));
    SaveChannelSet(table, store);

    std::string newWert1 = "[Wert1]\r\n";
    for (int c = 11; c >= 0; --c) {
        newWert1 += kKeys[static_cast<std::size_t>(c)] + "=" + table.Cell(c, 1) + "\r\n";
    }
    EXPECT_EQ(ReadBytes(dir.Path("set.vx4")), head + newWert1 + tail + SavedText(table, 2));
}

TEST(ChannelSetFile, ReadOnlyFileRaisesAtTheFirstKeyAndStaysUnchanged) {
    TempDir dir;
    const std::string path = dir.Path("locked.vx4");
    WriteBytes(path, "[Wert1]\r\nFrequenz=1\r\n");
    ::chmod(path.c_str(), 0444);
    IniFileStore store = StoreOn(path);
    try {
        SaveChannelSet(testutil::CalculatedTable(), store);
        FAIL() << "no failure raised";
    } catch (const IniWriteFailure& failure) {
        EXPECT_EQ(std::string(failure.what()), "Unable to write to " + path);
    }
    EXPECT_EQ(ReadBytes(path), "[Wert1]\r\nFrequenz=1\r\n");
}

// A save that breaks off leaves the file byte for byte as it was, never new rows over old ones:
// a disk that fills up in the middle, a cell that cannot be written, a file that was not there.
TEST(ChannelSetFile, FailingSaveLeavesTheOldBytes) {
    const ChannelTable table = testutil::CalculatedTable();
    ChannelTable unwritable = table;
    unwritable.SetCell(11, 16, "0\r\n[Wert1]");
    ChannelTable older;
    older.Clear();
    const std::string old = "[Fremd]\r\nx=1\r\n" + SavedText(older);
    struct Case {
        const char* name;
        const ChannelTable* table;
        bool existed;
        rlim_t sizeLimit;  // 0: none
    };
    const Case cases[] = {
        {"disk full", &table, true, 1000},
        {"disk full, new file", &table, false, 1000},
        {"cell with a line end", &unwritable, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.Path("set.vx4");
        if (c.existed) {
            WriteBytes(path, old);
        }
        IniFileStore store = StoreOn(path);
        try {
            std::optional<FileSizeLimit> limit;
            if (c.sizeLimit != 0) {
                limit.emplace(c.sizeLimit);
            }
            SaveChannelSet(*c.table, store);
            FAIL() << "no failure raised";
        } catch (const IniWriteFailure& failure) {
            EXPECT_EQ(std::string(failure.what()), "Unable to write to " + path);
        }
        EXPECT_EQ(dir.Names(),
                  c.existed ? std::vector<std::string>{"set.vx4"} : std::vector<std::string>{});
        if (c.existed) {
            EXPECT_EQ(ReadBytes(path), old);
        }
    }
}

// A save killed at any moment leaves the file wholly old or wholly new.
TEST(ChannelSetFile, KilledSaveLeavesTheFileWhollyOldOrWhollyNew) {
    TempDir dir;
    const std::string path = dir.Path("set.vx4");
    // Half a megabyte of another program's sections, so that a save lasts long enough to be
    // killed in its middle.
    std::string other;
    for (int i = 0; other.size() < 500'000; ++i) {
        other += "[Fremd" + std::to_string(i) + "]\r\nEintrag=" + std::string(40, 'p') + "\r\n";
    }
    ChannelTable older;
    older.Clear();
    const ChannelTable newer = testutil::CalculatedTable();
    const std::string oldText = other + SavedText(older);
    const std::optional<std::string> newText = ChannelSetText(newer, oldText);
    ASSERT_TRUE(newText.has_value());

    WriteBytes(path, oldText);
    IniFileStore store = StoreOn(path);
    const auto started = std::chrono::steady_clock::now();
    SaveChannelSet(newer, store);
    const auto saveMicroseconds = std::chrono::duration_cast<std::chrono::microseconds>(
                                      std::chrono::steady_clock::now() - started)
                                      .count();
    ASSERT_EQ(ReadBytes(path), *newText);

    std::mt19937 random(40);
    std::uniform_int_distribution<long> delay(0, 2 * saveMicroseconds + 100);
    for (int round = 0; round < 40; ++round) {
        WriteBytes(path, oldText);
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            try {
                SaveChannelSet(newer, store);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        ::usleep(static_cast<useconds_t>(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const std::string now = ReadBytes(path);
        ASSERT_TRUE(now == oldText || now == *newText)
            << "round " << round << ": " << now.size() << " bytes";
    }
}

// A CR alone ends a line: no loaded cell holds one, so the next save takes every cell, and it
// finds the keys on the lines where the load found them.
TEST(ChannelSetFile, EveryLoadedTableCanBeSavedAgain) {
    TempDir dir;
    const std::string path = dir.Path("set.vx4");
    const std::string wert1 = "[Wert1]\r\nFrequenz=798300\r\nN0=a\rb\r\nN1=114\rN2=3\r\n";
    const std::string wert2 = "[Wert2]\rD0=04\r";
    WriteBytes(path, wert1 + wert2);
    IniFileStore store = StoreOn(path);
    ChannelTable loaded;
    LoadChannelSet(loaded, store);
    EXPECT_EQ(loaded.Cell(1, 1), "a");
    EXPECT_EQ(loaded.Cell(2, 1), "114");
    EXPECT_EQ(loaded.Cell(3, 1), "3");
    EXPECT_EQ(loaded.Cell(11, 2), "04");

    SaveChannelSet(loaded, store);
    std::string expected = wert1;
    for (int c = 4; c < 12; ++c) {
        expected += kKeys[static_cast<std::size_t>(c)] + "=\r\n";
    }
    expected += wert2;
    for (int c = 0; c < 11; ++c) {
        expected += kKeys[static_cast<std::size_t>(c)] + "=\r\n";
    }
    EXPECT_EQ(ReadBytes(path), expected + SavedText(loaded, 3));

    ChannelTable again;
    LoadChannelSet(again, store);
    for (int r = 1; r < kRowCount; ++r) {
        for (int c = 0; c < kColumnCount; ++c) {
            EXPECT_EQ(again.Cell(c, r), loaded.Cell(c, r)) << "cell " << c << ", " << r;
        }
    }
}

struct LoadRefusalCase {
    const char* name;
    const char* reason;  // empty: the file can be loaded
};
void PrintTo(const LoadRefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class ChannelSetLoadRefusalTest : public testing::TestWithParam<LoadRefusalCase> {
  protected:
    void SetUp() override {
        WriteBytes(dir_.Path("set.vx4"), "[Wert1]\r\nFrequenz=1\r\n");
        WriteBytes(dir_.Path("empty.vx4"), "");
        ASSERT_EQ(::mkdir(dir_.Path("folder.vx4").c_str(), 0755), 0);
        ASSERT_EQ(::mkfifo(dir_.Path("fifo.vx4").c_str(), 0644), 0);
        ASSERT_EQ(::symlink("set.vx4", dir_.Path("link.vx4").c_str()), 0);
    }
    TempDir dir_;
};

TEST_P(ChannelSetLoadRefusalTest, OnlyARegularReadableFileMayBeLoaded) {
    const std::string path = dir_.Path(GetParam().name);
    const std::string reason = GetParam().reason;
    EXPECT_EQ(ChannelSetLoadRefusal(path),
              reason.empty() ? std::string()
                             : "Die Datei \"" + path + "\" kann nicht geladen werden: " + reason +
                                   ". Die Tabelle bleibt, wie sie war.");
}

INSTANTIATE_TEST_SUITE_P(
    Files, ChannelSetLoadRefusalTest,
    testing::Values(LoadRefusalCase{"set.vx4", ""}, LoadRefusalCase{"empty.vx4", ""},
                    LoadRefusalCase{"link.vx4", ""},
                    LoadRefusalCase{"missing.vx4", "sie existiert nicht"},
                    LoadRefusalCase{"set.vx4/inner.vx4", "sie existiert nicht"},
                    LoadRefusalCase{"folder.vx4", "das ist ein Ordner"},
                    // A FIFO without a writer would block an open for reading.
                    LoadRefusalCase{"fifo.vx4", "das ist keine gewöhnliche Datei"}),
    [](const testing::TestParamInfo<LoadRefusalCase>& param) {
        std::string name;
        for (const char c : std::string(param.param.name)) {
            name += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
        }
        return name;
    });

TEST(ChannelSetLoadRefusal, AFileWithoutReadPermissionIsRefused) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    TempDir dir;
    const std::string path = dir.Path("locked.vx4");
    WriteBytes(path, "[Wert1]\r\nFrequenz=1\r\n");
    ::chmod(path.c_str(), 0);
    EXPECT_EQ(ChannelSetLoadRefusal(path),
              "Die Datei \"" + path +
                  "\" kann nicht geladen werden: keine Leseberechtigung. Die Tabelle "
                  "bleibt, wie sie war.");
}

}  // namespace
}  // namespace vx40
