// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SystemBeep.h"

#include <QApplication>

namespace vx40 {
namespace {

int beeps = 0;

}  // namespace

void SystemBeep::Sound() {
    ++beeps;
    QApplication::beep();
}

int SystemBeep::Count() {
    return beeps;
}

}  // namespace vx40
