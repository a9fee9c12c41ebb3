// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Unit2.h"

#include "app/ApplicationFonts.h"

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Form2"));
    setFont(vx40::ApplicationFonts::MsSansSerif8());
    resize(696, 480);
    move(283, 107);
}
