// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>

#include <QApplication>

#include "app/ApplicationFrame.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "os/FileReplace.h"

int main(int argc, char* argv[]) {
    if (!vx40::ApplicationFrame::DisplayAvailable()) {
        std::fprintf(stderr, "%s\n",
                     vx40::ApplicationFrame::NoDisplayMessage().toLocal8Bit().constData());
        return 1;
    }
    vx40::IgnoreFileSizeLimitSignal();
    QApplication application(argc, argv);
    vx40::ApplicationFrame::SetUp(application);

    TForm1 form1;
    TForm2 form2;
    // Showing the main window activates it, also where no window manager hands out the focus.
    form1.show();
    vx40::ApplicationFrame::Activate(form1);
    QApplication::exec();
    return 0;
}
