// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ApplicationFrame.h"

#include <cstdlib>

#include <QApplication>
#include <QSettings>
#include <QStyleFactory>
#include <QWidget>

#include "app/ApplicationFonts.h"
#include "channel/Prescalers.h"

namespace vx40 {
namespace {

bool closePending = false;

// A path below a device, which can never be a folder: settings there are found empty, and
// writing them fails before anything is created.
constexpr const char* kNoSettingsFolder = "/dev/null";

bool EnvironmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

QString ApplicationFrame::Title() {
    return QString::fromLatin1(kWindowCaption.data(),
                               static_cast<qsizetype>(kWindowCaption.size()));
}

void ApplicationFrame::SetUp(QApplication& application) {
    // The display name is left unset: Qt would append it to a caption such as "VX40 <path>".
    // The application name is also the class in WM_CLASS, which the desktop entry names.
    QApplication::setApplicationName(Title());
    // Wayland's app id: docks find the desktop entry by it.
    QGuiApplication::setDesktopFileName(QStringLiteral(VX40_APP_ID));
    // One style everywhere, so that the layout measured here holds on every desktop.
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(style);
    }
    ApplicationFonts::Load();
    application.setFont(ApplicationFonts::MsSansSerif8());
    KeepNoSettings();
}

void ApplicationFrame::KeepNoSettings() {
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
        for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope}) {
            QSettings::setPath(format, scope, QString::fromLatin1(kNoSettingsFolder));
        }
    }
}

bool ApplicationFrame::DisplayAvailable() {
    return EnvironmentSet("DISPLAY") || EnvironmentSet("WAYLAND_DISPLAY") ||
           EnvironmentSet("QT_QPA_PLATFORM");
}

QString ApplicationFrame::NoDisplayMessage() {
    return QStringLiteral(
        "vx40: keine Anzeige gefunden, das Fenster braucht einen Desktop; ohne ihn bitte "
        "vx40-tool verwenden.");
}

void ApplicationFrame::Activate(QWidget& window, QWidget* control) {
    window.activateWindow();
    // Given as a change of the active window, this moves the focus only: the frequency field
    // keeps its text as it stands, and no field selects its text as on a Tab.
    if (control != nullptr && control->window() == &window) {
        control->setFocus(Qt::ActiveWindowFocusReason);
    }
}

void ApplicationFrame::RequestClose() {
    closePending = true;
}
bool ApplicationFrame::ClosePending() {
    return closePending;
}
void ApplicationFrame::StartRun() {
    closePending = false;
}

}  // namespace vx40
