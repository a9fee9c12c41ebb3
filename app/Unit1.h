// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>

#include "channel/ChannelTable.h"
#include "channel/DividerCalculation.h"
#include "files/IniFileStore.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace vx40 {
class ChannelGrid;
class CrystalSpinEdit;
class FileDialog;
class FrequencyEdit;
class WindowControlStyle;
}  // namespace vx40

// The main window Form1: every input of the calculation, the channel table, the two buttons and
// the menu, the file dialog components, and the handlers of all commands. Each handler gathers
// its inputs from the controls, runs one core operation and applies what it returns.
class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    vx40::ChannelTable& Table() { return table_; }
    const vx40::SelectionCodes& KeptCodes() const { return kept_; }
    const vx40::IniFileStore& Ini() const { return INI; }

    void FormActivate();
    void RzButton1Click();
    void loeschenClick();
    void Grid1Click();
    void BinrdateiNFaktorzurckrechnen1Click();
    void Ende1Click();

    void Speichern1Click();
    void Laden1Click();
    void BinLesenClick();
    void BinDateierzeugen1Click();

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void CreateControls(QWidget* client);
    void CreateMenu();
    void CreateFileDialogs();
    void ConnectHandlers();

    vx40::ChannelTable table_;
    // The calculation's kept selection codes: 0 when the run starts, then what the last
    // calculation left.
    vx40::SelectionCodes kept_;

    vx40::WindowControlStyle* controlStyle_ = nullptr;
    QGroupBox* RzGroupBox1 = nullptr;
    vx40::CrystalSpinEdit* Quarz = nullptr;
    QComboBox* R0_INPUT = nullptr;
    QComboBox* R1_Input = nullptr;
    QComboBox* R2_Input = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Overall = nullptr;
    vx40::FrequencyEdit* FR_Input = nullptr;
    QCheckBox* Modulator = nullptr;
    QCheckBox* Testfunktion = nullptr;
    QPushButton* RzButton1 = nullptr;
    vx40::ChannelGrid* Grid1 = nullptr;
    QPushButton* loeschen = nullptr;

    QAction* Speichern1 = nullptr;
    QAction* Laden1 = nullptr;
    QAction* BinLesen = nullptr;
    QAction* BinDateierzeugen1 = nullptr;
    QAction* Ende1 = nullptr;
    QAction* BinrdateiNFaktorzurckrechnen1 = nullptr;

    // The INI-file store of the channel-set commands: each save and load sets its path anew.
    vx40::IniFileStore INI;
    vx40::FileDialog* SaveDialog = nullptr;
    vx40::FileDialog* OpenDialog = nullptr;
    vx40::FileDialog* SaveBinary = nullptr;
    vx40::FileDialog* BinOpen = nullptr;

    bool centred_ = false;
};
