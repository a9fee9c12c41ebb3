// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FailureReport.h"

#include <exception>

#include <QWidget>

#include "app/ApplicationFrame.h"
#include "app/FocusReturn.h"
#include "base/RuntimeFailure.h"

namespace vx40 {
namespace {

FailureReport::TestHook testHook;

constexpr std::string_view kUnknownFailure = "Unbekannter Fehler";

}  // namespace

void FailureReport::Show(QWidget* parent, std::string_view message) {
    if (QWidget* grabber = QWidget::mouseGrabber()) {
        grabber->releaseMouse();
    }
    // Once the main window has closed, the run only winds down: no box waits for the user.
    if (ApplicationFrame::ClosePending()) {
        return;
    }
    const FocusReturn focusReturn(parent);
    QMessageBox box(QMessageBox::Critical, ApplicationFrame::Title(),
                    QString::fromStdString(FailureReportText(message)), QMessageBox::Ok, parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    if (testHook) {
        testHook(box);
        return;
    }
    box.exec();
}

void FailureReport::Run(QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& failure) {
        Show(parent, failure.what());
    } catch (...) {
        Show(parent, kUnknownFailure);
    }
}

void FailureReport::SetTestHook(TestHook hook) {
    testHook = std::move(hook);
}

}  // namespace vx40
