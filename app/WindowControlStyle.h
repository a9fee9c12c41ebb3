// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

namespace vx40 {

// The look of the window's own controls: the colours of the push buttons (face, highlight,
// hot-track while the mouse is over them) and of the check boxes (frame, check mark, hot-track),
// and a group box whose caption stands in the frame's top line. Everything else is drawn by the
// application style. A widget uses it only when it is set on that widget.
class WindowControlStyle : public QProxyStyle {
    Q_OBJECT
  public:
    WindowControlStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
    void polish(QWidget* widget) override;
    using QProxyStyle::polish;
};

}  // namespace vx40
