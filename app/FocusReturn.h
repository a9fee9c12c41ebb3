// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

namespace vx40 {

// Held by every dialog wrapper while its dialog is open: it remembers the active window and its
// focused control, and when the dialog has closed gives both the focus back, also where no
// window manager would (a bare X server, the offscreen platform). The window's activation then
// runs its activation handler again, and its controls show hot-track where the pointer is now.
class FocusReturn {
  public:
    // The dialog's parent stands in for the active window when none is active.
    explicit FocusReturn(QWidget* dialogParent);
    ~FocusReturn();

    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

  private:
    QPointer<QWidget> window_;
    QPointer<QWidget> control_;
};

}  // namespace vx40
