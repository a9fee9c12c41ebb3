// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>

#include "app/ApplicationFrame.h"

namespace {

QtMessageHandler qtHandler = nullptr;

// The offscreen platform says so for every fixed-size window; nothing a test could act on.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QStringLiteral("does not support propagateSizeHints"))) {
        return;
    }
    qtHandler(type, context, message);
}

}  // namespace

int main(int argc, char* argv[]) {
    qtHandler = qInstallMessageHandler(QuietHandler);
    // Headless unless the caller chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    vx40::ApplicationFrame::SetUp(application);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
