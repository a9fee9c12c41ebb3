// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the pictures of the user guide from the real window: it drives TForm1 as a user would
// (typing the frequency, clicking a row, pressing "Rechnen") and grabs what the window shows.
// Usage: vx40-screenshots OUTPUT_FOLDER

#include <array>
#include <cstdio>
#include <stdexcept>
#include <string>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTest>

#include "app/ApplicationFonts.h"
#include "app/ApplicationFrame.h"
#include "app/ChannelGrid.h"
#include "app/FrequencyEdit.h"
#include "app/MessageDialog.h"
#include "app/Unit1.h"
#include "channel/ChannelConstants.h"

namespace {

using vx40::kColumnCount;

// A channel plan in steps of 25 kHz around the start frequency. 798400 kHz is left out: its
// N factor is a multiple of 128, which the calculation refuses.
struct PlannedChannel {
    int row;
    int frequencyKhz;
};
constexpr std::array<PlannedChannel, 6> kPlan = {{
    {2, 798325},
    {3, 798350},
    {4, 798375},
    {5, 798425},
    {6, 798450},
    {1, 798300},  // last, so that the picture shows the worked example in the inputs
}};
constexpr int kRefusedFrequencyKhz = 798400;
constexpr int kRefusedRow = 7;
constexpr int kRatioHz = 12500;

// The offscreen platform draws no window frame, so the pictures get a plain one of their own.
constexpr int kTitleBarHeight = 22;
constexpr int kBorder = 1;
const QColor kFrameColour(58, 64, 74);
const QColor kCaptionColour(255, 255, 255);
constexpr int kShadow = 4;

void Check(bool condition, const std::string& what) {
    if (!condition) {
        throw std::runtime_error(what);
    }
}

template <typename T>
T* Child(const TForm1& form, const char* name) {
    T* child = form.findChild<T*>(QString::fromLatin1(name));
    Check(child != nullptr, std::string("the window has no control ") + name);
    return child;
}

void ClickCell(const TForm1& form, int column, int row) {
    auto* grid = Child<vx40::ChannelGrid>(form, "Grid1");
    const QPoint centre = grid->visualRect(grid->model()->index(row, column)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
}

// Types the frequency as a user would: into the field entered with the Tab key, which selects
// its whole text.
void TypeFrequency(const TForm1& form, int frequencyKhz) {
    auto* edit = Child<vx40::FrequencyEdit>(form, "FR_Input");
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(edit, QString::number(frequencyKhz));
    Check(edit->IntegerValue() == frequencyKhz,
          "the frequency field reads " + edit->text().toStdString());
}

void PressRechnen(const TForm1& form) {
    QTest::mouseClick(Child<QPushButton>(form, "RzButton1"), Qt::LeftButton);
}

void CalculateChannel(TForm1& form, int row, int frequencyKhz) {
    TypeFrequency(form, frequencyKhz);
    ClickCell(form, 0, row);
    PressRechnen(form);

    // Worked out here, apart from the calculation: N = f / ratio = N2 * 16384 + N1 * 128 + N0.
    const long n = static_cast<long>(frequencyKhz) * 1000 / kRatioHz;
    const std::array<std::string, 4> expected = {
        std::to_string(frequencyKhz), std::to_string(n % 128), std::to_string(n % 16384 / 128),
        std::to_string(n / 16384)};
    const vx40::ChannelTable& table = form.Table();
    for (int column = 0; column < 4; ++column) {
        Check(table.Cell(column, row) == expected[static_cast<std::size_t>(column)],
              "row " + std::to_string(row) + ", column " + std::to_string(column) + " holds \"" +
                  table.Cell(column, row) + "\"");
    }
}

// The window's own start example: row 1 at the defaults.
void CheckWorkedExample(TForm1& form) {
    const std::array<std::string, kColumnCount> row1 = {"798300", "120", "114", "3",  "05", "08",
                                                        "03",     "07",  "02",  "07", "08", "04"};
    for (int column = 0; column < kColumnCount; ++column) {
        Check(form.Table().Cell(column, 1) == row1[static_cast<std::size_t>(column)],
              "row 1, column " + std::to_string(column) + " holds \"" +
                  form.Table().Cell(column, 1) + "\"");
    }
    Check(Child<QLineEdit>(form, "Overall")->text() == QString::number(kRatioHz),
          "Overall does not show the ratio");
}

QPixmap Framed(const QPixmap& content, const QString& caption) {
    const QSize size(content.width() + 2 * kBorder, content.height() + kTitleBarHeight + kBorder);
    QPixmap framed(size);
    framed.fill(kFrameColour);
    QPainter painter(&framed);
    painter.drawPixmap(kBorder, kTitleBarHeight, content);

    QFont font = vx40::ApplicationFonts::Tahoma8Bold();
    painter.setFont(font);
    painter.setPen(kCaptionColour);
    const QRect bar(8, 0, size.width() - 16, kTitleBarHeight);
    painter.drawText(bar, Qt::AlignVCenter | Qt::AlignLeft, caption);
    painter.drawText(bar, Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("×"));
    return framed;
}

// The dialog centred over the window, as it stands over the window that is centred on the same
// screen.
QPixmap Composed(const QPixmap& window, const QPixmap& dialog) {
    QPixmap picture = window;
    QPainter painter(&picture);
    const QPoint topLeft((window.width() - dialog.width()) / 2,
                         (window.height() - dialog.height()) / 2);
    painter.fillRect(QRect(topLeft + QPoint(kShadow, kShadow), dialog.size()), QColor(0, 0, 0, 70));
    painter.drawPixmap(topLeft, dialog);
    return picture;
}

void Save(const QPixmap& picture, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    Check(picture.save(path, "PNG"), "cannot write " + path.toStdString());
    std::printf("%s\n", QDir::toNativeSeparators(path).toLocal8Bit().constData());
}

void MakeScreenshots(const QDir& folder) {
    TForm1 form;
    form.show();
    form.activateWindow();
    Check(QTest::qWaitForWindowActive(&form), "the window did not become active");
    const QString caption = form.windowTitle();

    for (const PlannedChannel& channel : kPlan) {
        CalculateChannel(form, channel.row, channel.frequencyKhz);
    }
    CheckWorkedExample(form);
    Save(Framed(form.grab(), caption), folder, QStringLiteral("window-calculated.png"));

    int shown = 0;
    QPixmap refusal;
    vx40::MessageDialog::SetTestHook([&](vx40::MessageDialog& dialog) {
        ++shown;
        Check(dialog.Text() == QString::fromLatin1(
                                   vx40::kFrequencyRefusedMessage.data(),
                                   static_cast<qsizetype>(vx40::kFrequencyRefusedMessage.size())),
              "the message dialog shows " + dialog.Text().toStdString());
        // The window as it stands while the message waits for "OK".
        refusal =
            Composed(Framed(form.grab(), caption), Framed(dialog.grab(), dialog.windowTitle()));
        return static_cast<int>(QDialog::Accepted);
    });
    TypeFrequency(form, kRefusedFrequencyKhz);
    ClickCell(form, 0, kRefusedRow);
    PressRechnen(form);
    vx40::MessageDialog::SetTestHook({});
    Check(shown == 1, "the refusal was shown " + std::to_string(shown) + " times");
    Check(form.Table().Cell(4, kRefusedRow) == "0F", "the refused row is not marked");
    Save(refusal, folder, QStringLiteral("refusal.png"));
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    // Headless unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    vx40::ApplicationFrame::SetUp(application);
    if (!vx40::ApplicationFonts::FacesLoaded()) {
        std::fprintf(stderr, "%s: the window's fonts are missing (package fonts-wine)\n", argv[0]);
        return 1;
    }
    // The window's texts are German, and so is the frequency field's digit grouping here.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "%s: cannot create %s\n", argv[0], argv[1]);
        return 1;
    }
    try {
        MakeScreenshots(folder);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s: %s\n", argv[0], failure.what());
        return 1;
    }
    return 0;
}
