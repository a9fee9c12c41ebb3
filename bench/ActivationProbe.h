// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>

#include <QObject>

class QWidget;

namespace vx40::bench {

// Watches a window until it is active and done() holds (for the main window: FormActivate has
// written the header row), notes the time since the process started and ends the event loop.
// It only observes: the window's own handling of the activation runs first and unchanged.
class ActivationProbe : public QObject {
  public:
    ActivationProbe(QWidget& window, std::function<bool()> done);

    // Empty until the window was activated.
    std::optional<double> ActivatedMilliseconds() const { return activatedMs_; }

    // Runs the event loop and prints "activated_ms=<ms> peak_rss_kb=<kB>"; the exit code is 0, or
    // 1 when the window was not activated within ten seconds.
    int RunAndReport();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CheckDone();

    QWidget& window_;
    std::function<bool()> done_;
    std::optional<double> activatedMs_;
};

}  // namespace vx40::bench
