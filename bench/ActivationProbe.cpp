// SPDX-License-Identifier: GPL-3.0-or-later
#include "ActivationProbe.h"

#include <cstdio>
#include <utility>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "ProcessMeasures.h"

namespace vx40::bench {
namespace {

constexpr int kActivationTimeoutMs = 10000;

}  // namespace

ActivationProbe::ActivationProbe(QWidget& window, std::function<bool()> done)
    : window_(window), done_(std::move(done)) {
    window_.installEventFilter(this);
}

bool ActivationProbe::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::ActivationChange && !activatedMs_) {
        // The filter sees the event before the window does; the check waits until the window's
        // own handling of it has run.
        QTimer::singleShot(0, this, [this] { CheckDone(); });
    }
    return QObject::eventFilter(watched, event);
}

void ActivationProbe::CheckDone() {
    if (activatedMs_ || !window_.isActiveWindow() || !done_()) {
        return;
    }
    activatedMs_ = MillisecondsSinceProcessStart();
    if (!activatedMs_) {
        activatedMs_ = -1.0;
    }
    QApplication::quit();
}

int ActivationProbe::RunAndReport() {
    QTimer::singleShot(kActivationTimeoutMs, this, [] { QApplication::exit(1); });
    const int code = QApplication::exec();
    if (code != 0 || !activatedMs_) {
        std::fprintf(stderr, "the window was not activated within %d ms\n", kActivationTimeoutMs);
        return 1;
    }
    std::printf("activated_ms=%.3f peak_rss_kb=%ld\n", *activatedMs_, PeakResidentKilobytes());
    return 0;
}

}  // namespace vx40::bench
