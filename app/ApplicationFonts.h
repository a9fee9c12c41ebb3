// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

namespace vx40 {

// The window's fonts. Debian's fonts-wine ships metric-compatible faces of both families; when
// they are missing the system sans stands in, at the same pixel sizes.
class ApplicationFonts {
  public:
    // Adds the faces found in the fonts folder to the application; safe to call more than once.
    static void Load();
    // True when both families came from the fonts folder (the layout is measured for them).
    static bool FacesLoaded();

    // "MS Sans Serif" 8 point: the window's own font.
    static QFont MsSansSerif8();
    // "Tahoma" 8 point (character height 11 pixels), plain and bold, and 10 point (13 pixels).
    static QFont Tahoma8();
    static QFont Tahoma8Bold();
    static QFont Tahoma10();
};

}  // namespace vx40
