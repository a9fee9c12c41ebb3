// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

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
    // The toolkit's settings of the account stay out of reach: a settings file a test finds or
    // leaves is in a folder of this run.
    QTemporaryDir config;
    if (!config.isValid()) {
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication application(argc, argv);
    vx40::ApplicationFrame::SetUp(application);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
