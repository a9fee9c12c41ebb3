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
    // A window that the pointer leaves shows no hot-track: its controls may not hear of it when
    // the pointer came to them while the window was blocked by a dialog.
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Sets the hot-track state of the window's controls of this style from where the pointer is
    // now. A window blocked by a dialog gets no pointer events, so after a dialog that closed by
    // keyboard its controls would keep the state they had when it opened.
    static void RefreshHotTrack(QWidget& window);
};

}  // namespace vx40
