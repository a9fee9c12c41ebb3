// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowControlStyle.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

namespace vx40 {
namespace {

const QColor kButtonFace(244, 244, 240);
const QColor kButtonHighlight(106, 141, 244);
const QColor kHotTrack(255, 199, 60);
const QColor kCheckFrame(28, 81, 128);
const QColor kCheckHighlight(33, 161, 33);
const QColor kButtonFrame(150, 150, 150);
const QColor kGroupFrame(160, 160, 160);
constexpr int kCaptionIndent = 8;
constexpr int kCaptionPadding = 2;

QStyle* BaseStyle() {
    return QStyleFactory::create(QApplication::style()->name());
}

void DrawButtonPanel(const QStyleOption& option, QPainter& painter) {
    const bool hot = (option.state & QStyle::State_MouseOver) != 0 &&
                     (option.state & QStyle::State_Enabled) != 0;
    const bool sunken = (option.state & (QStyle::State_Sunken | QStyle::State_On)) != 0;
    const bool focused = (option.state & QStyle::State_HasFocus) != 0;
    QColor face = hot ? kHotTrack : kButtonFace;
    if (sunken) {
        face = face.darker(110);
    }
    const QRectF box = QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(focused || sunken ? kButtonHighlight : kButtonFrame, 1));
    painter.setBrush(face);
    painter.drawRoundedRect(box, 2, 2);
}

void DrawCheckIndicator(const QStyleOption& option, QPainter& painter) {
    const bool hot = (option.state & QStyle::State_MouseOver) != 0 &&
                     (option.state & QStyle::State_Enabled) != 0;
    const QRect box = option.rect.adjusted(0, 0, -1, -1);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(hot ? kHotTrack : kCheckFrame);
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    if (hot) {
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box.adjusted(1, 1, -1, -1));
    }
    if ((option.state & QStyle::State_On) != 0) {
        const QRectF inner = QRectF(box).adjusted(2.5, 2.5, -2.5, -2.5);
        QPainterPath tick;
        tick.moveTo(inner.left(), inner.center().y());
        tick.lineTo(inner.left() + inner.width() * 0.4, inner.bottom());
        tick.lineTo(inner.right(), inner.top());
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(kCheckHighlight, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
    }
}

void DrawGroupBox(const QStyleOptionGroupBox& option, QPainter& painter) {
    const QFontMetrics& metrics = option.fontMetrics;
    const QRect frame = option.rect.adjusted(0, metrics.height() / 2, -1, -1);
    painter.setPen(kGroupFrame);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame);
    if (option.text.isEmpty()) {
        return;
    }
    const QRect caption(option.rect.left() + kCaptionIndent, option.rect.top(),
                        metrics.horizontalAdvance(option.text) + 2 * kCaptionPadding,
                        metrics.height());
    painter.fillRect(caption, option.palette.window());
    painter.setPen(option.palette.color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter | Qt::TextShowMnemonic, option.text);
}

// Only the control the pointer is on, or that holds it, shows hot-track.
void SetHotTrack(QWidget& window, const QWidget* pointed) {
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (qobject_cast<const WindowControlStyle*>(control->style()) == nullptr) {
            continue;
        }
        const bool hot =
            pointed != nullptr && (pointed == control || control->isAncestorOf(pointed));
        if (control->underMouse() != hot) {
            control->setAttribute(Qt::WA_UnderMouse, hot);
            control->update();
        }
    }
}

}  // namespace

WindowControlStyle::WindowControlStyle() : QProxyStyle(BaseStyle()) {}

void WindowControlStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                       QPainter* painter, const QWidget* widget) const {
    switch (element) {
        case PE_PanelButtonCommand:
            painter->save();
            DrawButtonPanel(*option, *painter);
            painter->restore();
            return;
        case PE_IndicatorCheckBox:
            painter->save();
            DrawCheckIndicator(*option, *painter);
            painter->restore();
            return;
        default:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void WindowControlStyle::drawComplexControl(ComplexControl control,
                                            const QStyleOptionComplex* option, QPainter* painter,
                                            const QWidget* widget) const {
    if (control == CC_GroupBox) {
        if (const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option)) {
            painter->save();
            DrawGroupBox(*box, *painter);
            painter->restore();
            return;
        }
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

void WindowControlStyle::polish(QWidget* widget) {
    QProxyStyle::polish(widget);
    widget->setAttribute(Qt::WA_Hover, true);
    widget->window()->installEventFilter(this);
}

bool WindowControlStyle::eventFilter(QObject* watched, QEvent* event) {
    auto* window = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Leave && window != nullptr && window->isWindow()) {
        SetHotTrack(*window, nullptr);
    }
    return QProxyStyle::eventFilter(watched, event);
}

void WindowControlStyle::RefreshHotTrack(QWidget& window) {
    SetHotTrack(window, QApplication::widgetAt(QCursor::pos()));
}

}  // namespace vx40
