// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ApplicationFonts.h"

#include <array>

#include <QFile>
#include <QFontDatabase>

namespace vx40 {
namespace {

constexpr const char* kFontFolder = "/usr/share/wine/fonts/";
constexpr std::array<const char*, 3> kFontFiles = {"tahoma.ttf", "tahomabd.ttf",
                                                   "ms_sans_serif.ttf"};
constexpr const char* kMsSansSerif = "MS Sans Serif";
constexpr const char* kTahoma = "Tahoma";

// At 96 dpi: 8 point is a character height of 11 pixels, 10 point of 13. The bitmap face of
// MS Sans Serif has its 8-point strike at 13 pixels (the cell height).
constexpr int kTahoma8Pixels = 11;
constexpr int kTahoma10Pixels = 13;
constexpr int kMsSansSerif8Pixels = 13;

bool loaded = false;
bool facesLoaded = false;

QFont Font(const char* family, int pixelSize, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

}  // namespace

void ApplicationFonts::Load() {
    if (loaded) {
        return;
    }
    loaded = true;
    for (const char* file : kFontFiles) {
        const QString path = QString::fromLatin1(kFontFolder) + QString::fromLatin1(file);
        if (QFile::exists(path)) {
            QFontDatabase::addApplicationFont(path);
        }
    }
    const QStringList families = QFontDatabase::families();
    facesLoaded = families.contains(QString::fromLatin1(kTahoma)) &&
                  families.contains(QString::fromLatin1(kMsSansSerif));
}

bool ApplicationFonts::FacesLoaded() {
    return facesLoaded;
}

QFont ApplicationFonts::MsSansSerif8() {
    return Font(kMsSansSerif, kMsSansSerif8Pixels, false);
}
QFont ApplicationFonts::Tahoma8() {
    return Font(kTahoma, kTahoma8Pixels, false);
}
QFont ApplicationFonts::Tahoma8Bold() {
    return Font(kTahoma, kTahoma8Pixels, true);
}
QFont ApplicationFonts::Tahoma10() {
    return Font(kTahoma, kTahoma10Pixels, false);
}

}  // namespace vx40
