// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string_view>

#include <QMessageBox>
#include <QString>

class QWidget;

namespace vx40 {

// The one report of a failure that escapes a handler: the handler ends, its message is shown in
// a critical message box captioned with the application title, and the window goes on with what
// the handler had changed. Qt must not see an exception leave a slot, so every handler is
// connected through Guard below, which catches at the connection.
class FailureReport {
  public:
    static void Show(QWidget* parent, std::string_view message);

    // Runs a handler and reports whatever escapes it.
    static void Run(QWidget* parent, const std::function<void()>& handler);

    // A test sees the configured box instead of its being shown; an empty hook shows it again.
    using TestHook = std::function<void(QMessageBox&)>;
    static void SetTestHook(TestHook hook);
};

// A slot that runs owner->handler() under the failure report.
template <typename Owner>
auto Guard(Owner* owner, void (Owner::*handler)()) {
    return
        [owner, handler] { FailureReport::Run(owner, [owner, handler] { (owner->*handler)(); }); };
}

}  // namespace vx40
