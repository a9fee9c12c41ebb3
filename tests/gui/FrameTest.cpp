// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <stdexcept>
#include <utility>

#include "WindowFixture.h"
#include "app/ApplicationFrame.h"
#include "app/CheckedFileDialog.h"
#include "app/FailureReport.h"
#include "app/FileDialog.h"
#include "app/MessageDialog.h"
#include "app/Unit2.h"
#include "base/RuntimeFailure.h"

namespace vx40 {
namespace {

class FrameTest : public WindowFixture {};

TEST_F(FrameTest, EveryHandlerFailureIsReportedOnceAndTheHandlerEnds) {
    bool afterFailure = false;
    FailureReport::Run(form_.get(), [&] {
        form_->Table().SetCell(0, 3, "changed");
        throw DivisionFailure();
        afterFailure = true;
    });
    FailureReport::Run(form_.get(), [] { throw 42; });
    ASSERT_EQ(failures_.size(), 2u);
    EXPECT_EQ(failures_[0].text, "Division by zero.");
    EXPECT_EQ(failures_[1].caption, "VX40");
    EXPECT_FALSE(failures_[1].text.isEmpty());
    EXPECT_FALSE(afterFailure);
    EXPECT_EQ(Cell(0, 3), "changed");
}

TEST_F(FrameTest, AMessageDialogOpenedWhileTheCloseIsPendingReturnsAtOnce) {
    EXPECT_EQ(MessageDialog::Show(form_.get(), "first"), QDialog::Accepted);
    form_->close();
    EXPECT_EQ(MessageDialog::Show(form_.get(), "second"), QDialog::Rejected);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "first");
}

// Docks group a running window with its menu entry by WM_CLASS on X11 and by the app id on Wayland.
TEST(DesktopEntryTest, NamesTheWindowClassAndTheAppIdThatTheApplicationSets) {
    QFile entry(VX40_DESKTOP_ENTRY);
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(entry.readAll()).split('\n');
    EXPECT_TRUE(lines.contains("StartupWMClass=" + QGuiApplication::applicationName()));
    EXPECT_EQ(QFileInfo(entry).completeBaseName(), QGuiApplication::desktopFileName());
}

TEST(MessageDialogTest, ShowsTheTextUnchangedWithOneOkButtonForEnterAndEsc) {
    MessageDialog dialog("Zeile eins\rZeile zwei");
    EXPECT_EQ(dialog.windowTitle(), "VX40");
    EXPECT_EQ(dialog.Text(), "Zeile eins\rZeile zwei");
    EXPECT_EQ(dialog.TextLabel()->text(), "Zeile eins\nZeile zwei");
    EXPECT_EQ(dialog.findChildren<QPushButton*>().size(), 1);
    EXPECT_EQ(dialog.OkButton()->text(), "OK");
    EXPECT_TRUE(dialog.OkButton()->isDefault());

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());

    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(MessageDialogTest, WrapsALongTextAtHalfTheScreenAndStandsInTheMiddle) {
    const QString words = QString("Während des Einlesens wurden Daten entdeckt ").repeated(20);
    MessageDialog dialog(words);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(dialog.TextLabel()->width(), screen.width() / 2 + 1);
    EXPECT_GT(dialog.TextLabel()->height(), 3 * dialog.TextLabel()->fontMetrics().height());
    EXPECT_LE((dialog.frameGeometry().center() - screen.center()).manhattanLength(), 2);
}

TEST(Form2Test, IsAnEmptyHiddenWindow) {
    TForm2 form2;
    EXPECT_EQ(form2.objectName(), "Form2");
    EXPECT_EQ(form2.windowTitle(), "Form2");
    EXPECT_EQ(form2.size(), QSize(696, 480));
    EXPECT_EQ(form2.pos(), QPoint(283, 107));
    EXPECT_FALSE(form2.isVisible());
    EXPECT_TRUE(form2.children().isEmpty());
}

struct DialogCase {
    const char* name;
    FileDialogSettings::Kind kind;
    const char* title;
    const char* confirm;
    QStringList filters;
    const char* extension;
    bool mustExist;
    bool showHidden;
};
void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << '"' << c.name << '"';
}

class FileDialogConfigurationTest : public WindowFixture,
                                    public testing::WithParamInterface<DialogCase> {};

TEST_P(FileDialogConfigurationTest, IsConfiguredForItsCommand) {
    const DialogCase& c = GetParam();
    auto* dialog = Find<FileDialog>(c.name);
    const FileDialogSettings& settings = dialog->Settings();
    EXPECT_EQ(settings.kind, c.kind);
    EXPECT_EQ(settings.title, c.title);
    EXPECT_EQ(settings.confirmText, c.confirm);
    EXPECT_EQ(dialog->QtNameFilters(), c.filters);
    EXPECT_EQ(settings.defaultExtension, c.extension);
    EXPECT_EQ(settings.mustExist, c.mustExist);
    EXPECT_EQ(settings.showHidden, c.showHidden);
    EXPECT_EQ(dialog->FilterIndex(), 0);
    EXPECT_EQ(dialog->FileName(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Components, FileDialogConfigurationTest,
    testing::Values(DialogCase{"SaveDialog",
                               FileDialogSettings::Kind::Save,
                               "Save As",
                               "&Save",
                               {"Brenstadel Datenfiles (*.vx4)", "alles (*)"},
                               "vx4",
                               true,
                               true},
                    // The open dialog checks existence too: a typo must not empty the table.
                    DialogCase{"OpenDialog",
                               FileDialogSettings::Kind::Open,
                               "Open",
                               "&Open",
                               {"Brenstadel Daten (*.vx4)", "alles (*)"},
                               "vx4",
                               true,
                               true},
                    DialogCase{"SaveBinary",
                               FileDialogSettings::Kind::Save,
                               "Save As",
                               "&Save",
                               {QString::fromUtf8("Binärdaten (*.bin)"), "alles (*)"},
                               "BIN",
                               false,
                               true},
                    DialogCase{"BinOpen",
                               FileDialogSettings::Kind::Open,
                               "Open",
                               "&Open",
                               {"Binary Files (*.bin)"},
                               "bin",
                               false,
                               false}),
    [](const testing::TestParamInfo<DialogCase>& param) { return param.param.name; });

class FileDialogTest : public WindowFixture {
  protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_TRUE(folder_.isValid());
    }
    QString Path(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }
    void Touch(const char* name) const {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    static QString NotFound(const QString& path) {
        return QDir::toNativeSeparators(path) +
               "\nFile not found.\nPlease verify the correct file name was given.";
    }

    QTemporaryDir folder_;
};

TEST_F(FileDialogTest, ANameWithoutExtensionGetsTheDefaultOnlyUnderTheFirstFilter) {
    auto* binary = Find<FileDialog>("SaveBinary");
    fileAnswers_ = {FileAnswer{0, Path("image")}};
    ASSERT_TRUE(binary->Execute(form_.get()));
    EXPECT_EQ(binary->FileName(), Path("image.BIN"));
    fileAnswers_ = {FileAnswer{1, Path("image")}};
    ASSERT_TRUE(binary->Execute(form_.get()));
    EXPECT_EQ(binary->FileName(), Path("image"));
    EXPECT_EQ(binary->FilterIndex(), 1);
    fileAnswers_ = {FileAnswer{0, Path("image.dat")}};
    ASSERT_TRUE(binary->Execute(form_.get()));
    EXPECT_EQ(binary->FileName(), Path("image.dat"));
}

// Both channel-set dialogs take only an existing file; a missing name is refused with the
// message and the dialog stays open for the next name. Neither creates a file.
class FileMustExistTest : public FileDialogTest, public testing::WithParamInterface<const char*> {};

TEST_P(FileMustExistTest, AMissingNameIsRefusedAndTheDialogStaysOpen) {
    Touch("set.vx4");
    auto* dialog = Find<FileDialog>(GetParam());
    fileAnswers_ = {FileAnswer{0, Path("missing")}, FileAnswer{1, Path("missing.vx4")},
                    FileAnswer{0, Path("set")}};
    ASSERT_TRUE(dialog->Execute(form_.get()));
    EXPECT_EQ(dialog->FileName(), Path("set.vx4"));
    ASSERT_EQ(fileDialogs_.size(), 3u);
    EXPECT_EQ(fileDialogs_[0].refusal, "");
    EXPECT_EQ(fileDialogs_[1].refusal, NotFound(Path("missing.vx4")));
    EXPECT_EQ(fileDialogs_[2].refusal, NotFound(Path("missing.vx4")));
    EXPECT_FALSE(QFile::exists(Path("missing.vx4")));

    fileAnswers_ = {FileAnswer{0, Path("missing")}};
    EXPECT_FALSE(dialog->Execute(form_.get()));
    EXPECT_EQ(dialog->FileName(), "");
    EXPECT_EQ(fileDialogs_.back().refusal, NotFound(Path("missing.vx4")));
}

INSTANTIATE_TEST_SUITE_P(ChannelSetDialogs, FileMustExistTest,
                         testing::Values("SaveDialog", "OpenDialog"));

TEST_F(FileDialogTest, TheBinDialogsLetAnyNameThroughAndACancelForgetsThePath) {
    const std::pair<const char*, const char*> dialogs[] = {{"SaveBinary", "missing.BIN"},
                                                           {"BinOpen", "missing.bin"}};
    for (const auto& [name, completed] : dialogs) {
        auto* dialog = Find<FileDialog>(name);
        fileAnswers_ = {FileAnswer{0, Path("missing")}};
        ASSERT_TRUE(dialog->Execute(form_.get())) << name;
        EXPECT_EQ(dialog->FileName(), Path(completed));
        EXPECT_FALSE(dialog->Execute(form_.get()));
        EXPECT_EQ(dialog->FileName(), "");
    }
    EXPECT_EQ(fileDialogs_.size(), 4u);
    EXPECT_EQ(fileDialogs_[0].refusal, "");
}

TEST_F(FileDialogTest, QtsDialogIsSetUpFromTheComponentAndCompletesTheTypedName) {
    Touch("set.vx4");
    auto* save = Find<FileDialog>("SaveDialog");
    CheckedFileDialog dialog(*save, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Save As");
    EXPECT_EQ(dialog.labelText(QFileDialog::Accept), "&Save");
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog.nameFilters(), save->QtNameFilters());
    EXPECT_EQ(dialog.SelectedFilterIndex(), 0);

    dialog.setDirectory(folder_.path());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText("set");
    ASSERT_TRUE(QMetaObject::invokeMethod(&dialog, "accept"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ConfirmedPath(), Path("set.vx4"));
}

// The toolkit's settings file that every program of the account shares: what another program's
// file dialog left there is not shown, and nothing is written back or created.
TEST_F(FileDialogTest, QtsDialogReadsNoSettingsAndWritesNone) {
    const QDir config(qEnvironmentVariable("XDG_CONFIG_HOME"));
    ASSERT_TRUE(config.exists());
    ASSERT_TRUE(QDir(folder_.path()).mkdir("recent"));
    const QUrl recent = QUrl::fromLocalFile(Path("recent"));
    const QByteArray planted = "[FileDialog]\nhistory=" + recent.toEncoded() +
                               "\nlastVisited=" + recent.toEncoded() +
                               "\nshortcuts=" + recent.toEncoded() + "\nviewMode=List\n";
    for (const bool withPlanted : {true, false}) {
        QFile file(config.filePath("QtProject.conf"));
        if (withPlanted) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(planted);
            file.close();
        }
        {
            CheckedFileDialog dialog(*Find<FileDialog>("BinOpen"), nullptr);
            dialog.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
            EXPECT_FALSE(dialog.history().contains(Path("recent")));
            EXPECT_FALSE(dialog.sidebarUrls().contains(recent));
            EXPECT_EQ(dialog.viewMode(), QFileDialog::Detail);
            dialog.setDirectory(folder_.path());
            dialog.reject();
        }
        const QStringList expected = withPlanted ? QStringList{"QtProject.conf"} : QStringList{};
        EXPECT_EQ(config.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  expected);
        if (withPlanted) {
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), planted);
            file.close();
            ASSERT_TRUE(file.remove());
        }
    }
}

}  // namespace
}  // namespace vx40
