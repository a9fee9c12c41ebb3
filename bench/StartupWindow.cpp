// SPDX-License-Identifier: GPL-3.0-or-later
// The real window started as the entry point starts it, until FormActivate has run.
#include <QApplication>

#include "ActivationProbe.h"
#include "app/ApplicationFrame.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "channel/ChannelConstants.h"

int main(int argc, char* argv[]) {
    // Headless unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    vx40::ApplicationFrame::SetUp(application);

    TForm1 form1;
    TForm2 form2;
    vx40::bench::ActivationProbe probe(form1, [&form1] {
        return form1.Table().Cell(vx40::kFrequencyColumn, 0) == vx40::kHeaderTexts[0];
    });
    form1.show();
    vx40::ApplicationFrame::Activate(form1);
    return probe.RunAndReport();
}
