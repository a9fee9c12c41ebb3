// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// The second window Form2: created hidden at start-up after the main window, never shown, with no
// controls and no handlers.
class TForm2 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm2(QWidget* parent = nullptr);
};
