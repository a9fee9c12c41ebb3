// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include "WindowFixture.h"
#include "app/ApplicationFrame.h"
#include "app/FrequencyEdit.h"
#include "core/TempDir.h"

namespace vx40 {
namespace {

using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;

const QString kTooShort = QString::fromUtf8("Binärfile ist kein Brenstadel-File");
const QString kInvalidData = QString::fromUtf8(
    "Während des Einlesens wurden Daten\rentdeckt die nicht Brenstadel konform "
    "sind\r(>0F oder Bitstream falsch)");

QString NotFound(const QString& path) {
    return QDir::toNativeSeparators(path) +
           "\nFile not found.\nPlease verify the correct file name was given.";
}

std::string Repeated(std::size_t count, char byte) {
    return std::string(count, byte);
}

// The window with a fresh folder for the files its commands write and read.
class FileCommandsTest : public WindowFixture {
  protected:
    QString Path(const char* name) const { return QString::fromStdString(dir_.Path(name)); }
    std::string File(const char* name) const { return dir_.Path(name); }

    // Every cell the grid shows, header row included.
    std::vector<std::string> AllCells() const {
        std::vector<std::string> cells;
        for (int r = 0; r < kRowCount; ++r) {
            for (int c = 0; c < kColumnCount; ++c) {
                cells.push_back(Cell(c, r).toStdString());
            }
        }
        return cells;
    }

    // A distinct text in every channel cell: a nibble text in columns 4 to 11.
    void FillWithMarks() {
        for (int r = 1; r <= kChannelCount; ++r) {
            for (int c = 0; c < kColumnCount; ++c) {
                const std::string nibble = "0" + std::string(1, "0123456789ABCDEF"[(r + c) % 16]);
                form_->Table().SetCell(c, r, c < 4 ? "m" + std::to_string(c * 100 + r) : nibble);
            }
        }
    }

    // "Rechnen" on one row, with the inputs set as a user would.
    void Calculate(int row, const char* r0, const char* r1, const char* r2, bool modulator,
                   bool test, const char* frequency) {
        Find<QComboBox>("R0_INPUT")->setEditText(r0);
        Find<QComboBox>("R1_Input")->setEditText(r1);
        Find<QComboBox>("R2_Input")->setEditText(r2);
        Find<QCheckBox>("Modulator")->setChecked(modulator);
        Find<QCheckBox>("Testfunktion")->setChecked(test);
        Find<FrequencyEdit>("FR_Input")->setText(frequency);
        ClickCell(0, row);
        QTest::mouseClick(Find<QPushButton>("RzButton1"), Qt::LeftButton);
    }

    // Row 1 with the defaults at 798300 kHz and row 16 at 714357 kHz with R0 15, R1 7, R2 8,
    // worked out by hand; rows 2 to 15 vary R0 and the switches at multiples of both ratios.
    void CalculateAllRows() {
        Calculate(1, "12", "5", "2", true, false, "798300");
        for (int r = 2; r <= 15; ++r) {
            const std::string frequency = std::to_string(700000 + r * 1100);
            Calculate(r, r % 4 == 0 ? "15" : "12", "5", "2", r % 2 == 0, r % 3 == 0,
                      frequency.c_str());
        }
        Calculate(16, "15", "7", "8", false, true, "714357");
        ASSERT_TRUE(messages_.empty());
    }

    void Trigger(const char* item) { Find<QAction>(item)->trigger(); }
    void Shortcut(Qt::Key key) {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
    }

    void ExpectWindowStillOpen() const {
        EXPECT_TRUE(form_->isVisible());
        EXPECT_FALSE(ApplicationFrame::ClosePending());
    }

    TempDir dir_;
};

// --- bin file ---------------------------------------------------------------------------------

TEST_F(FileCommandsTest, BinWriteAndReadGiveBackTheNibblesAndLeaveColumnsZeroToThree) {
    CalculateAllRows();
    const std::vector<std::string> calculated = AllCells();
    fileAnswers_ = {FileAnswer{0, Path("image")}};
    Trigger("BinDateierzeugen1");

    const std::string image = ReadBytes(File("image.BIN"));
    ASSERT_EQ(image.size(), 128u);
    // Channel 16 first, channel 1 last, each channel D0 first.
    EXPECT_EQ(image.substr(0, 8), std::string("\x00\x08\x0C\x06\x0B\x08\x01\x0F", 8));
    EXPECT_EQ(image.substr(120), std::string("\x04\x08\x07\x02\x07\x03\x08\x05", 8));
    EXPECT_EQ(AllCells(), calculated);
    EXPECT_TRUE(messages_.empty());

    QTest::mouseClick(Find<QPushButton>("loeschen"), Qt::LeftButton);
    fileAnswers_ = {FileAnswer{0, Path("image.BIN")}};
    Trigger("BinLesen");
    EXPECT_TRUE(messages_.empty());
    const std::vector<std::string> read = AllCells();
    for (int r = 0; r < kRowCount; ++r) {
        for (int c = 0; c < kColumnCount; ++c) {
            const auto at = static_cast<std::size_t>(r * kColumnCount + c);
            const std::string expected = r > 0 && c < 4 ? "  " : calculated[at];
            EXPECT_EQ(read[at], expected) << "cell (" << c << ", " << r << ")";
        }
    }
}

TEST_F(FileCommandsTest, BinReadAcceptsALongerFileAndIgnoresItsTail) {
    FillWithMarks();
    std::string bytes;
    for (int i = 0; i < 128; ++i) {
        bytes += static_cast<char>(i % 16);
    }
    WriteBytes(File("long.bin"), bytes + "\x10\xFF junk");
    fileAnswers_ = {FileAnswer{0, Path("long")}};
    Trigger("BinLesen");
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(Cell(11, 16), "00");  // byte 0
    EXPECT_EQ(Cell(4, 16), "07");   // byte 7
    EXPECT_EQ(Cell(11, 15), "08");  // byte 8
    EXPECT_EQ(Cell(4, 1), "0F");    // byte 127
    EXPECT_EQ(Cell(0, 1), "m1");
}

enum class TableState { Cleared, OneInvalidCell, Calculated };
enum class TargetState { Missing, Existing, ReadOnly, Folder };

struct BinWriteRefusal {
    const char* name;
    TableState table;
    TargetState target;
    const char* message;  // %1 is the full path
};
void PrintTo(const BinWriteRefusal& c, std::ostream* os) {
    *os << c.name;
}

class BinWriteRefusalTest : public FileCommandsTest,
                            public testing::WithParamInterface<BinWriteRefusal> {};

// A refused write says why in the message dialog, leaves the file as it was and changes no cell.
TEST_P(BinWriteRefusalTest, ShowsWhyAndLeavesFileAndTableAlone) {
    const BinWriteRefusal& c = GetParam();
    CalculateAllRows();
    if (c.table == TableState::Cleared) {
        QTest::mouseClick(Find<QPushButton>("loeschen"), Qt::LeftButton);
    } else if (c.table == TableState::OneInvalidCell) {
        form_->Table().SetCell(7, 5, "0a");
    }
    const std::string old = Repeated(128, '\x01');
    const std::string target = File("target.bin");
    if (c.target == TargetState::Folder) {
        ASSERT_EQ(::mkdir(target.c_str(), 0755), 0);
    } else if (c.target != TargetState::Missing) {
        WriteBytes(target, old);
        if (c.target == TargetState::ReadOnly) {
            ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
        }
    }
    const std::vector<std::string> before = AllCells();
    fileAnswers_ = {FileAnswer{0, Path("target.bin")}};
    Trigger("BinDateierzeugen1");

    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, QString::fromUtf8(c.message).arg(Path("target.bin")));
    EXPECT_TRUE(failures_.empty());
    EXPECT_EQ(AllCells(), before);
    if (c.target == TargetState::Missing) {
        EXPECT_TRUE(dir_.Names().empty());
    } else {
        EXPECT_EQ(dir_.Names(), std::vector<std::string>{"target.bin"});
    }
    if (c.target == TargetState::Existing || c.target == TargetState::ReadOnly) {
        EXPECT_EQ(ReadBytes(target), old);
    }
    ExpectWindowStillOpen();
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, BinWriteRefusalTest,
    testing::Values(
        BinWriteRefusal{"ClearedTable", TableState::Cleared, TargetState::Existing,
                        "Kanal 16, D0 enthält \"  \": kein gültiges Datennibble (00 bis 0F). Es "
                        "wurde nichts geschrieben."},
        BinWriteRefusal{"LowerCaseNibble", TableState::OneInvalidCell, TargetState::Missing,
                        "Kanal 5, D4 enthält \"0a\": kein gültiges Datennibble (00 bis 0F). Es "
                        "wurde nichts geschrieben."},
        BinWriteRefusal{"ReadOnlyTarget", TableState::Calculated, TargetState::ReadOnly,
                        "Die Datei \"%1\" konnte nicht geschrieben werden: die Datei ist "
                        "schreibgeschützt."},
        BinWriteRefusal{"FolderAsTarget", TableState::Calculated, TargetState::Folder,
                        "Die Datei \"%1\" konnte nicht geschrieben werden: das Ziel ist keine "
                        "gewöhnliche Datei."}),
    [](const testing::TestParamInfo<BinWriteRefusal>& param) { return param.param.name; });

enum class SourceKind { Bytes, Folder, Fifo, Missing };

struct BinReadRefusal {
    const char* name;
    SourceKind kind;
    std::string bytes;
    bool tooShort;  // otherwise the invalid-data text
};
void PrintTo(const BinReadRefusal& c, std::ostream* os) {
    *os << c.name;
}

class BinReadRefusalTest : public FileCommandsTest,
                           public testing::WithParamInterface<BinReadRefusal> {};

// A refused file shows its message, changes no cell and leaves the window open with the table.
TEST_P(BinReadRefusalTest, ShowsTheMessageAndKeepsTableAndWindow) {
    const BinReadRefusal& c = GetParam();
    const std::string source = File("source.bin");
    switch (c.kind) {
        case SourceKind::Bytes:
            WriteBytes(source, c.bytes);
            break;
        case SourceKind::Folder:
            ASSERT_EQ(::mkdir(source.c_str(), 0755), 0);
            break;
        case SourceKind::Fifo:
            ASSERT_EQ(::mkfifo(source.c_str(), 0644), 0);
            break;
        case SourceKind::Missing:
            break;
    }
    FillWithMarks();
    const std::vector<std::string> before = AllCells();
    fileAnswers_ = {FileAnswer{0, Path("source")}};
    Trigger("BinLesen");

    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, c.tooShort ? kTooShort : kInvalidData);
    EXPECT_EQ(messages_[0].caption, "VX40");
    EXPECT_EQ(AllCells(), before);
    EXPECT_TRUE(failures_.empty());
    ExpectWindowStillOpen();
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, BinReadRefusalTest,
    testing::Values(
        BinReadRefusal{"Empty", SourceKind::Bytes, "", true},
        BinReadRefusal{"Bytes126", SourceKind::Bytes, Repeated(126, '\x03'), true},
        // One byte short is refused: nothing may be invented for channel 1's D7.
        BinReadRefusal{"Bytes127", SourceKind::Bytes, Repeated(127, '\x03'), true},
        BinReadRefusal{"FirstByte10", SourceKind::Bytes, "\x10" + Repeated(127, '\x03'), false},
        BinReadRefusal{"SecondByte20", SourceKind::Bytes, "\x05\x20\x07" + Repeated(125, '\x03'),
                       false},
        BinReadRefusal{"LastByteFF", SourceKind::Bytes, Repeated(127, '\x03') + "\xFF", false},
        BinReadRefusal{"Folder", SourceKind::Folder, "", true},
        BinReadRefusal{"FifoWithoutWriter", SourceKind::Fifo, "", true},
        BinReadRefusal{"MissingFile", SourceKind::Missing, "", true}),
    [](const testing::TestParamInfo<BinReadRefusal>& param) { return param.param.name; });

// --- channel-set file -------------------------------------------------------------------------

TEST_F(FileCommandsTest, SaveAndLoadThroughTheShortcutsGiveBackEveryCell) {
    CalculateAllRows();
    form_->Table().SetCell(0, 7, "");
    form_->Table().SetCell(5, 9, "no nibble");
    const std::vector<std::string> saved = AllCells();
    WriteBytes(File("set.vx4"), "");
    fileAnswers_ = {FileAnswer{0, Path("set")}};
    Shortcut(Qt::Key_S);

    ASSERT_EQ(fileDialogs_.size(), 1u);
    EXPECT_EQ(fileDialogs_[0].dialog, "SaveDialog");
    const std::string text = ReadBytes(File("set.vx4"));
    const std::string row1 =
        "[Wert1]\r\nFrequenz=798300\r\nN0=120\r\nN1=114\r\nN2=3\r\nD7=05\r\nD6=08\r\nD5=03\r\n"
        "D4=07\r\nD3=02\r\nD2=07\r\nD1=08\r\nD0=04\r\n[Wert2]\r\n";
    EXPECT_EQ(text.substr(0, row1.size()), row1);
    EXPECT_NE(text.find("[Wert7]\r\nFrequenz=\r\nN0="), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 208);
    EXPECT_EQ(form_->Ini().FileName(), File("set.vx4"));
    EXPECT_EQ(form_->windowTitle(), "VX40");
    EXPECT_EQ(AllCells(), saved);

    QTest::mouseClick(Find<QPushButton>("loeschen"), Qt::LeftButton);
    fileAnswers_ = {FileAnswer{0, Path("set")}};
    Shortcut(Qt::Key_L);
    ASSERT_EQ(fileDialogs_.size(), 2u);
    EXPECT_EQ(fileDialogs_[1].dialog, "OpenDialog");
    EXPECT_EQ(AllCells(), saved);
    EXPECT_EQ(form_->windowTitle(), "VX40 " + Path("set.vx4"));
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(failures_.empty());
}

TEST_F(FileCommandsTest, TheCaptionNamesTheFileLoadedLastAndACancelledLoadNone) {
    for (const char* name : {"a.vx4", "b.vx4", "c.vx4"}) {
        WriteBytes(File(name), "[Wert1]\r\nFrequenz=1\r\n");
    }
    fileAnswers_ = {FileAnswer{0, Path("a")}};
    Trigger("Laden1");
    EXPECT_EQ(form_->windowTitle(), "VX40 " + Path("a.vx4"));

    // A save leaves the caption alone, whatever file it writes.
    fileAnswers_ = {FileAnswer{0, Path("c")}};
    Trigger("Speichern1");
    EXPECT_EQ(form_->windowTitle(), "VX40 " + Path("a.vx4"));

    fileAnswers_ = {FileAnswer{0, Path("b")}};
    Trigger("Laden1");
    EXPECT_EQ(form_->windowTitle(), "VX40 " + Path("b.vx4"));
    EXPECT_EQ(form_->Ini().FileName(), File("b.vx4"));

    fileAnswers_ = {std::nullopt};
    Trigger("Laden1");
    EXPECT_EQ(form_->windowTitle(), "VX40");
    EXPECT_EQ(Cell(0, 1), "1");
}

TEST_F(FileCommandsTest, APathWithTheModifiedPlaceholderIsShownAsItIs) {
    WriteBytes(File("a[*]b.vx4"), "");
    fileAnswers_ = {FileAnswer{0, Path("a[*]b")}};
    Trigger("Laden1");
    ASSERT_NE(form_->windowHandle(), nullptr);
    EXPECT_EQ(form_->windowHandle()->title(), "VX40 " + Path("a[*]b.vx4"));
}

TEST_F(FileCommandsTest, AMissingNameIsRefusedInTheOpenDialogAndTheTableStays) {
    WriteBytes(File("set.vx4"), "[Wert3]\r\nD0=0A\r\n");
    FillWithMarks();
    const std::vector<std::string> before = AllCells();
    fileAnswers_ = {FileAnswer{0, Path("missing")}, std::nullopt};
    Shortcut(Qt::Key_L);
    ASSERT_EQ(fileDialogs_.size(), 2u);
    EXPECT_EQ(fileDialogs_[1].refusal, NotFound(Path("missing.vx4")));
    EXPECT_EQ(AllCells(), before);
    EXPECT_EQ(form_->windowTitle(), "VX40");
    EXPECT_EQ(dir_.Names(), std::vector<std::string>{"set.vx4"});

    // The dialog stayed open: the next name is taken.
    fileAnswers_ = {FileAnswer{0, Path("missing")}, FileAnswer{0, Path("set")}};
    Shortcut(Qt::Key_L);
    EXPECT_EQ(form_->windowTitle(), "VX40 " + Path("set.vx4"));
    EXPECT_EQ(Cell(11, 3), "0A");
    EXPECT_EQ(Cell(0, 1), "");
}

TEST_F(FileCommandsTest, AFileThatCannotBeReadIsRefusedBeforeTheTableIsTouched) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads every file";
    }
    WriteBytes(File("locked.vx4"), "[Wert1]\r\nFrequenz=1\r\n");
    ASSERT_EQ(::chmod(File("locked.vx4").c_str(), 0), 0);
    FillWithMarks();
    const std::vector<std::string> before = AllCells();
    fileAnswers_ = {FileAnswer{0, Path("locked.vx4")}};
    Trigger("Laden1");
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text,
              QString::fromUtf8("Die Datei \"%1\" kann nicht geladen werden: keine "
                                "Leseberechtigung. Die Tabelle bleibt, wie sie war.")
                  .arg(Path("locked.vx4")));
    EXPECT_EQ(AllCells(), before);
    EXPECT_EQ(form_->windowTitle(), "VX40");
}

TEST_F(FileCommandsTest, ASaveIntoAReadOnlyFileIsReportedAndChangesNothing) {
    const std::string old = "[Wert1]\r\nFrequenz=1\r\n";
    WriteBytes(File("locked.vx4"), old);
    ASSERT_EQ(::chmod(File("locked.vx4").c_str(), 0444), 0);
    CalculateAllRows();
    const std::vector<std::string> before = AllCells();
    fileAnswers_ = {FileAnswer{0, Path("locked")}};
    Shortcut(Qt::Key_S);

    ASSERT_EQ(failures_.size(), 1u);
    EXPECT_EQ(failures_[0].text, "Unable to write to " + Path("locked.vx4") + ".");
    EXPECT_EQ(failures_[0].caption, "VX40");
    EXPECT_EQ(failures_[0].icon, QMessageBox::Critical);
    EXPECT_EQ(failures_[0].buttons, QStringList{"OK"});
    EXPECT_TRUE(messages_.empty());
    EXPECT_EQ(ReadBytes(File("locked.vx4")), old);
    EXPECT_EQ(dir_.Names(), std::vector<std::string>{"locked.vx4"});
    EXPECT_EQ(AllCells(), before);
    EXPECT_EQ(form_->windowTitle(), "VX40");
    ExpectWindowStillOpen();
}

// --- all four commands ------------------------------------------------------------------------

struct CommandCase {
    const char* item;
    const char* dialog;
    const char* fileName;  // an existing file the command accepts
    std::string content;
    int filter;  // the entry selected for it, remembered afterwards
};
void PrintTo(const CommandCase& c, std::ostream* os) {
    *os << c.item;
}

class EveryFileCommandTest : public FileCommandsTest,
                             public testing::WithParamInterface<CommandCase> {};

TEST_P(EveryFileCommandTest, ACancelChangesNothing) {
    const CommandCase& c = GetParam();
    FillWithMarks();
    const std::vector<std::string> before = AllCells();
    Trigger(c.item);
    ASSERT_EQ(fileDialogs_.size(), 1u);
    EXPECT_EQ(fileDialogs_[0].dialog, c.dialog);
    EXPECT_EQ(AllCells(), before);
    EXPECT_TRUE(dir_.Names().empty());
    EXPECT_EQ(form_->windowTitle(), "VX40");
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(failures_.empty());
}

TEST_P(EveryFileCommandTest, TheDialogRemembersTheConfirmedPathAndTheFilter) {
    const CommandCase& c = GetParam();
    WriteBytes(File(c.fileName), c.content);
    FillWithMarks();
    fileAnswers_ = {FileAnswer{c.filter, Path(c.fileName)}, std::nullopt};
    Trigger(c.item);
    Trigger(c.item);
    Trigger(c.item);
    EXPECT_TRUE(messages_.empty());
    EXPECT_TRUE(failures_.empty());
    ASSERT_EQ(fileDialogs_.size(), 3u);
    EXPECT_EQ(fileDialogs_[0].fileName, "");
    EXPECT_EQ(fileDialogs_[0].filter, 0);
    EXPECT_EQ(fileDialogs_[1].fileName, Path(c.fileName));
    EXPECT_EQ(fileDialogs_[1].filter, c.filter);
    // A cancel forgets the path but keeps the filter entry.
    EXPECT_EQ(fileDialogs_[2].fileName, "");
    EXPECT_EQ(fileDialogs_[2].filter, c.filter);
    for (const FileDialogOpening& opening : fileDialogs_) {
        EXPECT_EQ(opening.dialog, c.dialog);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, EveryFileCommandTest,
    testing::Values(CommandCase{"Speichern1", "SaveDialog", "plain", "", 1},
                    CommandCase{"Laden1", "OpenDialog", "plain", "[Wert1]\r\nD0=01\r\n", 1},
                    CommandCase{"BinDateierzeugen1", "SaveBinary", "plain", "", 1},
                    CommandCase{"BinLesen", "BinOpen", "image.bin", Repeated(128, '\x00'), 0}),
    [](const testing::TestParamInfo<CommandCase>& param) { return param.param.item; });

}  // namespace
}  // namespace vx40
