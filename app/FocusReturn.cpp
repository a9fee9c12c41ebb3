// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FocusReturn.h"

#include <QApplication>

#include "app/ApplicationFrame.h"
#include "app/WindowControlStyle.h"

namespace vx40 {

FocusReturn::FocusReturn(QWidget* dialogParent) : window_(QApplication::activeWindow()) {
    if (window_ == nullptr && dialogParent != nullptr) {
        window_ = dialogParent->window();
    }
    // The window's own focused control: the right one also while its activation is still on its
    // way, as after an earlier dialog.
    if (window_ != nullptr) {
        control_ = window_->focusWidget();
    }
}

FocusReturn::~FocusReturn() {
    // A window that closed while the dialog was open stays closed.
    if (window_ == nullptr || !window_->isVisible()) {
        return;
    }
    ApplicationFrame::Activate(*window_, control_);
    WindowControlStyle::RefreshHotTrack(*window_);
}

}  // namespace vx40
