#pragma once

#include <QProxyStyle>

namespace vx40 {

// The colours of the window's push buttons and check boxes: button face, highlight and
// hot-track (while the mouse is over the control); check box frame, check mark highlight and
// hot-track. Everything else is drawn by the application style.
class ControlColourStyle : public QProxyStyle {
    Q_OBJECT
  public:
    ControlColourStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void polish(QWidget* widget) override;
    using QProxyStyle::polish;
};

}  // namespace vx40
