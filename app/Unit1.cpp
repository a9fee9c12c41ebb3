// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Unit1.h"

#include <string>
#include <string_view>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

#include "app/ApplicationFonts.h"
#include "app/ApplicationFrame.h"
#include "app/ChannelGrid.h"
#include "app/CrystalSpinEdit.h"
#include "app/FailureReport.h"
#include "app/FileDialog.h"
#include "app/FrequencyEdit.h"
#include "app/MessageDialog.h"
#include "app/PrescalerComboBox.h"
#include "app/WindowControlStyle.h"
#include "channel/CalculationRun.h"
#include "channel/ChannelConstants.h"
#include "channel/NFactorBackCalculation.h"
#include "channel/Prescalers.h"
#include "files/BinRead.h"
#include "files/ChannelSetFile.h"
#include "files/FileFailureText.h"
#include "files/ImageReader.h"
#include "files/ImageWriter.h"

using vx40::ApplicationFonts;
using vx40::Guard;
using vx40::MessageDialog;

namespace {

constexpr int kClientWidth = 376;
constexpr int kClientHeight = 476;
const QColor kEdit1Text(255, 0, 0);

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The window's own caption; a channel-set load adds a blank and the file's path.
QString StartCaption() {
    return FromView(vx40::kWindowCaption);
}

// A window title treats "[*]" as the placeholder of the modified mark; a path keeps its own.
QString CaptionText(QString text) {
    return text.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

void ShowMessage(QWidget* parent, std::string_view text) {
    MessageDialog::Show(parent,
                        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, QRect geometry,
                 const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QComboBox* AddCombo(QWidget* parent, const char* name, const vx40::PrescalerList& list,
                    std::string_view startText, QRect geometry) {
    auto* combo = new vx40::PrescalerComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setGeometry(geometry);
    for (const vx40::PrescalerEntry& entry : list) {
        combo->addItem(FromView(entry.text));
    }
    // The field shows the start text while no list item is selected.
    combo->setCurrentIndex(-1);
    combo->setEditText(FromView(startText));
    return combo;
}

QLineEdit* AddEdit(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    edit->setReadOnly(true);
    edit->setCursorPosition(0);
    return edit;
}

QCheckBox* AddCheckBox(QWidget* parent, const char* name, const QString& text, bool checked,
                       QRect geometry, QStyle* style) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setChecked(checked);
    box->setStyle(style);
    return box;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& text, QRect geometry,
                       QStyle* style) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    // Enter clicks the focused button as Space does.
    button->setAutoDefault(true);
    button->setStyle(style);
    return button;
}

QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                 const QKeySequence& shortcut = {}) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    return item;
}

void AddSeparator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint) {
    vx40::ApplicationFrame::StartRun();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(StartCaption());
    setFont(ApplicationFonts::MsSansSerif8());
    controlStyle_ = new vx40::WindowControlStyle;
    controlStyle_->setParent(this);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    CreateControls(client);
    CreateMenu();
    CreateFileDialogs();
    ConnectHandlers();
    // The window cannot be resized: its size is the client area and the menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    Quarz->setFocus();
    Quarz->selectAll();
}

TForm1::~TForm1() {
    // The grid's model observes table_, which dies before the base class deletes the children.
    delete takeCentralWidget();
}

void TForm1::CreateControls(QWidget* client) {
    RzGroupBox1 = new QGroupBox(QStringLiteral("Vorgaben"), client);
    RzGroupBox1->setObjectName(QStringLiteral("RzGroupBox1"));
    RzGroupBox1->setGeometry(8, 16, 361, 177);
    RzGroupBox1->setFont(ApplicationFonts::Tahoma8());
    RzGroupBox1->setStyle(controlStyle_);
    QWidget* box = RzGroupBox1;

    const QFont labelFont = ApplicationFonts::MsSansSerif8();
    AddLabel(box, "RzLabel1", QStringLiteral("Quarz Frequenz"), {8, 24, 75, 13}, labelFont);
    AddLabel(box, "RzLabel2", QStringLiteral("Vorteiler R0"), {32, 56, 55, 13}, labelFont);
    AddLabel(box, "RzLabel3", QStringLiteral("Vorteiler R1"), {32, 80, 55, 13}, labelFont);
    AddLabel(box, "RzLabel4", QStringLiteral("Vorteiler R2"), {32, 104, 55, 13}, labelFont);
    AddLabel(box, "RzLabel5", QStringLiteral("Fest-Teiler"), {40, 136, 49, 13}, labelFont);
    AddLabel(box, "RzLabel6", QStringLiteral("Ratio"), {216, 24, 25, 13}, labelFont);
    AddLabel(box, "Label1", QStringLiteral("Mhz"), {312, 56, 23, 16}, ApplicationFonts::Tahoma10());

    Quarz = new vx40::CrystalSpinEdit(box);
    Quarz->setObjectName(QStringLiteral("Quarz"));
    Quarz->setGeometry(96, 24, 73, 21);

    R0_INPUT = AddCombo(box, "R0_INPUT", vx40::kR0Entries, vx40::kR0StartText, {96, 53, 73, 21});
    R1_Input = AddCombo(box, "R1_Input", vx40::kR1Entries, vx40::kR1StartText, {96, 77, 73, 21});
    R2_Input = AddCombo(box, "R2_Input", vx40::kR2Entries, vx40::kR2StartText, {96, 101, 73, 21});

    Edit1 = AddEdit(box, "Edit1", FromView(vx40::kFixedDividerText), {96, 131, 73, 21});
    Edit1->setFont(ApplicationFonts::Tahoma8Bold());
    QPalette red = Edit1->palette();
    red.setColor(QPalette::Text, kEdit1Text);
    Edit1->setPalette(red);

    Overall = AddEdit(box, "Overall", QString(), {248, 21, 97, 19});

    FR_Input = new vx40::FrequencyEdit(box);
    FR_Input->setObjectName(QStringLiteral("FR_Input"));
    FR_Input->setGeometry(248, 54, 57, 22);
    FR_Input->setFont(ApplicationFonts::Tahoma10());
    FR_Input->SetValue(vx40::kStartFrequencyKhz);

    Modulator = AddCheckBox(box, "Modulator", QStringLiteral("Modulator"), vx40::kStartModulator,
                            {248, 96, 73, 17}, controlStyle_);
    Testfunktion = AddCheckBox(box, "Testfunktion", QStringLiteral("Testfunktion"),
                               vx40::kStartTest, {248, 112, 81, 17}, controlStyle_);

    // The buttons belong to the window and stand over the group box's lower right part.
    RzButton1 = AddButton(client, "RzButton1", QStringLiteral("Rechnen"), {296, 160, 65, 25},
                          controlStyle_);
    Grid1 = new vx40::ChannelGrid(table_, client);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    // 1 pixel wider and 5 higher than the space left for it: the client area cuts it off.
    Grid1->setGeometry(0, 200, 377, 281);
    Grid1->setFont(ApplicationFonts::Tahoma8());
    loeschen = AddButton(client, "loeschen", QStringLiteral("Felder Löschen"), {200, 160, 89, 25},
                         controlStyle_);
    RzButton1->raise();
    loeschen->raise();

    QWidget* order[] = {Quarz,    R0_INPUT,  R1_Input,     R2_Input,  Edit1, Overall,
                        FR_Input, Modulator, Testfunktion, RzButton1, Grid1, loeschen};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        setTabOrder(order[i], order[i + 1]);
    }
}

void TForm1::CreateMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    // The menu bar is part of this window on every desktop, never a global menu.
    bar->setNativeMenuBar(false);
    bar->setFont(ApplicationFonts::Tahoma8());

    QMenu* datei = bar->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("Datei1"));
    datei->menuAction()->setObjectName(QStringLiteral("Datei1"));
    Speichern1 = AddItem(datei, "Speichern1", QStringLiteral("&Speichern"), QKeySequence("Ctrl+S"));
    Laden1 = AddItem(datei, "Laden1", QStringLiteral("&Laden"), QKeySequence("Ctrl+L"));
    AddSeparator(datei, "N2");
    BinLesen = AddItem(datei, "BinLesen", QStringLiteral("Bin Datei einlesen"));
    BinDateierzeugen1 = AddItem(datei, "BinDateierzeugen1", QStringLiteral("&Bin-Datei erzeugen"));
    AddSeparator(datei, "N3");
    Ende1 = AddItem(datei, "Ende1", QStringLiteral("&Ende"));

    QMenu* berechnung = bar->addMenu(QStringLiteral("&Berechnung"));
    berechnung->setObjectName(QStringLiteral("Berechnung1"));
    berechnung->menuAction()->setObjectName(QStringLiteral("Berechnung1"));
    AddItem(berechnung, "Berechnen1", QStringLiteral("&Berechnen"));
    AddSeparator(berechnung, "N4");
    BinrdateiNFaktorzurckrechnen1 = AddItem(berechnung, "BinrdateiNFaktorzurckrechnen1",
                                            QStringLiteral("Binärdatei N-Faktor zurückrechnen"));
    AddItem(berechnung, "BinrdateiFrequenzenrckrechnen1",
            QStringLiteral("Binärdatei Frequenzen rückrechnen"));

    // "?" is an entry of the menu bar itself, with no items.
    bar->addAction(QStringLiteral("?"))->setObjectName(QStringLiteral("N1"));
}

void TForm1::CreateFileDialogs() {
    using Kind = vx40::FileDialogSettings::Kind;
    SaveDialog =
        new vx40::FileDialog(QStringLiteral("SaveDialog"),
                             {Kind::Save, QStringLiteral("Save As"), QStringLiteral("&Save"),
                              QStringLiteral("Brenstadel Datenfiles|*.vx4|alles|*.*"),
                              QStringLiteral("vx4"), true, true},
                             this);
    OpenDialog = new vx40::FileDialog(
        QStringLiteral("OpenDialog"),
        {Kind::Open, QStringLiteral("Open"), QStringLiteral("&Open"),
         QStringLiteral("Brenstadel Daten|*.vx4|alles|*.*"), QStringLiteral("vx4"), true, true},
        this);
    SaveBinary = new vx40::FileDialog(
        QStringLiteral("SaveBinary"),
        {Kind::Save, QStringLiteral("Save As"), QStringLiteral("&Save"),
         QStringLiteral("Binärdaten|*.bin|alles|*.*"), QStringLiteral("BIN"), false, true},
        this);
    BinOpen = new vx40::FileDialog(
        QStringLiteral("BinOpen"),
        {Kind::Open, QStringLiteral("Open"), QStringLiteral("&Open"),
         QStringLiteral("Binary Files|*.bin"), QStringLiteral("bin"), false, false},
        this);
}

void TForm1::ConnectHandlers() {
    connect(RzButton1, &QPushButton::clicked, this, Guard(this, &TForm1::RzButton1Click));
    connect(loeschen, &QPushButton::clicked, this, Guard(this, &TForm1::loeschenClick));
    connect(Grid1, &vx40::ChannelGrid::Click, this, Guard(this, &TForm1::Grid1Click));
    connect(Speichern1, &QAction::triggered, this, Guard(this, &TForm1::Speichern1Click));
    connect(Laden1, &QAction::triggered, this, Guard(this, &TForm1::Laden1Click));
    connect(BinLesen, &QAction::triggered, this, Guard(this, &TForm1::BinLesenClick));
    connect(BinDateierzeugen1, &QAction::triggered, this,
            Guard(this, &TForm1::BinDateierzeugen1Click));
    connect(Ende1, &QAction::triggered, this, Guard(this, &TForm1::Ende1Click));
    connect(BinrdateiNFaktorzurckrechnen1, &QAction::triggered, this,
            Guard(this, &TForm1::BinrdateiNFaktorzurckrechnen1Click));
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        Guard(this, &TForm1::FormActivate)();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    vx40::ApplicationFrame::RequestClose();
    event->accept();
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!centred_ && screen() != nullptr) {
        centred_ = true;
        QRect frame = frameGeometry();
        frame.moveCenter(screen()->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TForm1::FormActivate() {
    table_.WriteHeaderRow();
}

void TForm1::RzButton1Click() {
    const std::string r0 = R0_INPUT->currentText().toStdString();
    const std::string r1 = R1_Input->currentText().toStdString();
    const std::string r2 = R2_Input->currentText().toStdString();
    vx40::CalculationFields fields;
    fields.crystalHz = Quarz->IntegerValue();
    fields.r0Text = r0;
    fields.r1Text = r1;
    fields.r2Text = r2;
    fields.modulator = Modulator->isChecked();
    fields.test = Testfunktion->isChecked();
    fields.readFrequencyKhz = [this] { return FR_Input->IntegerValue(); };
    const vx40::CalculationRun run = vx40::StartCalculation(table_, kept_, fields);
    Overall->setText(QString::fromStdString(run.overallText));
    if (run.message) {
        ShowMessage(this, *run.message);
    }
    vx40::FinishCalculation(table_, run);
}

void TForm1::loeschenClick() {
    table_.Clear();
}

void TForm1::Grid1Click() {
    table_.FrequencyPickUp(FR_Input->IntegerValue());
}

void TForm1::BinrdateiNFaktorzurckrechnen1Click() {
    vx40::BackCalculateNFactors(table_);
}

void TForm1::Ende1Click() {
    close();
}

void TForm1::Speichern1Click() {
    if (!SaveDialog->Execute(this)) {
        return;
    }
    INI.SetFileName(LocalPath(SaveDialog->FileName()));
    // A failing save raises into the failure report and leaves the file as it was.
    vx40::SaveChannelSet(table_, INI);
}

void TForm1::Laden1Click() {
    setWindowTitle(StartCaption());
    if (!OpenDialog->Execute(this)) {
        return;
    }
    const std::string path = LocalPath(OpenDialog->FileName());
    // Every read of a file that has gone or cannot be read gives "": the table would be emptied.
    if (const vx40::Status loadable = vx40::CheckChannelSetLoadable(path); !loadable.Ok()) {
        ShowMessage(this, vx40::ChannelSetLoadRefusal(loadable.Error()));
        return;
    }
    INI.SetFileName(path);
    setWindowTitle(windowTitle() + QLatin1Char(' ') + CaptionText(OpenDialog->FileName()));
    // A file of other text loads as empty cells: the window takes any file it was given.
    static_cast<void>(vx40::LoadChannelSet(table_, INI.FileName()));
}

void TForm1::BinLesenClick() {
    if (!BinOpen->Execute(this)) {
        return;
    }
    // A refused file changes no cell and closes nothing: the table may hold unsaved work.
    const std::string path = LocalPath(BinOpen->FileName());
    const vx40::Result<vx40::BinImage> read = vx40::ReadImageFile(
        path, vx40::ReadableFiles::AnyExceptDirectories, vx40::ImageContent::BinOnly);
    if (const auto refusal = vx40::ApplyBinRead(table_, read, path)) {
        ShowMessage(this, *refusal);
    }
}

void TForm1::BinDateierzeugen1Click() {
    if (!SaveBinary->Execute(this)) {
        return;
    }
    const std::string path = LocalPath(SaveBinary->FileName());
    if (const vx40::Status written = vx40::WriteImageFile(table_, path, vx40::ImageFormat::Bin);
        !written) {
        ShowMessage(this, vx40::ImageFailureText(written.Error(), path));
    }
}
