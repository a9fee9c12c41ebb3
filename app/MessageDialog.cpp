// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MessageDialog.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/ApplicationFrame.h"
#include "app/FocusReturn.h"

namespace vx40 {
namespace {

MessageDialog::TestHook testHook;

QString LinesOf(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

QRect ScreenGeometry(const QWidget* widget) {
    const QScreen* screen = widget->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

MessageDialog::MessageDialog(const QString& text, QWidget* parent)
    : QDialog(parent), text_(text), label_(new QLabel(this)), ok_(new QPushButton(this)) {
    setObjectName(QStringLiteral("MessageDialog"));
    setWindowTitle(ApplicationFrame::Title());
    setModal(true);

    const QString lines = LinesOf(text);
    label_->setObjectName(QStringLiteral("Message"));
    label_->setTextFormat(Qt::PlainText);
    label_->setText(lines);
    label_->setWordWrap(true);
    // Measured once, so the dialog needs no height-for-width negotiation.
    const int maxWidth = ScreenGeometry(this).width() / 2;
    const QRect needed =
        QFontMetrics(label_->font())
            .boundingRect(QRect(0, 0, maxWidth, 100000), Qt::TextWordWrap | Qt::AlignLeft, lines);
    label_->setFixedSize(needed.width() + 1, needed.height());

    ok_->setObjectName(QStringLiteral("OK"));
    ok_->setText(QStringLiteral("OK"));
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(label_);
    layout->addLayout(buttons);

    adjustSize();
    move(ScreenGeometry(this).center() - rect().center());
}

int MessageDialog::Show(QWidget* parent, const QString& text) {
    if (ApplicationFrame::ClosePending()) {
        return QDialog::Rejected;
    }
    const FocusReturn focusReturn(parent);
    MessageDialog dialog(text, parent);
    if (testHook) {
        return testHook(dialog);
    }
    return dialog.exec();
}

void MessageDialog::SetTestHook(TestHook hook) {
    testHook = std::move(hook);
}

}  // namespace vx40
