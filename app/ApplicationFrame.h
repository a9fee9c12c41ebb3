// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QApplication;
class QWidget;

namespace vx40 {

// What the whole application shares: its title, the set-up of fonts and style, and the close
// request of the main window, which ends the run once the running handler has returned.
class ApplicationFrame {
  public:
    // The caption of every message box and message dialog; the main window's caption is its own.
    static QString Title();

    // Fonts, style and names; the entry point, the tests and the benchmarks all start with it.
    static void SetUp(QApplication& application);

    // The window stores nothing between runs and reads nothing of earlier ones. Qt's file dialog
    // keeps its recent and last folders and its view mode in the toolkit's settings file of the
    // account, shared with every program of the toolkit; from here on every settings file of
    // this process is read as empty and never written. Part of SetUp.
    static void KeepNoSettings();

    // Whether a windowing system can be reached at all; without one Qt would abort.
    static bool DisplayAvailable();
    static QString NoDisplayMessage();

    // Makes the window the active one and puts the focus into the control, if one is given, also
    // where no window manager hands out the focus. The window's activation handler then runs.
    static void Activate(QWidget& window, QWidget* control = nullptr);

    // The main window was closed: from now on the run only winds down.
    static void RequestClose();
    static bool ClosePending();
    // A new main window starts a new run.
    static void StartRun();
};

}  // namespace vx40
