// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the start-up: the least a Qt 6 window needs, started and measured the same way.
// Two arguments add what any window of this kind pays for, to show where the time goes:
//   label    one line of text, so the run loads the fonts;
//   widgets  the text, a menu bar, an editable combo box and a table of 17 by 12 cells, the stock
//            parts the channel window is made of.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTableWidget>

#include "ActivationProbe.h"

int main(int argc, char* argv[]) {
    // Headless unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const bool widgets = arguments.contains(QStringLiteral("widgets"));
    QMainWindow window;
    if (widgets || arguments.contains(QStringLiteral("label"))) {
        auto* client = new QWidget(&window);
        window.setCentralWidget(client);
        new QLabel(QStringLiteral("Frequenz"), client);
        if (widgets) {
            window.menuBar()->addMenu(QStringLiteral("&Datei"))->addAction(QStringLiteral("&Ende"));
            auto* combo = new QComboBox(client);
            combo->setEditable(true);
            combo->addItems({QStringLiteral("12"), QStringLiteral("13")});
            combo->setGeometry(96, 53, 73, 21);
            auto* table = new QTableWidget(17, 12, client);
            table->setGeometry(0, 200, 377, 281);
            client->setFixedSize(376, 476);
        }
    }
    vx40::bench::ActivationProbe probe(window, [] { return true; });
    window.show();
    window.activateWindow();
    return probe.RunAndReport();
}
