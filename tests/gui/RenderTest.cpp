// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "WindowFixture.h"
#include "app/ApplicationFonts.h"
#include "app/MessageDialog.h"

namespace vx40 {
namespace {

class RenderTest : public WindowFixture {};

TEST_F(RenderTest, RendersTheWindowAndEveryCaptionFitsItsBox) {
    const QPixmap picture = form_->grab();
    EXPECT_EQ(picture.size() / picture.devicePixelRatio(), form_->size());
    const QString path = QDir(QStringLiteral(VX40_GUI_ARTIFACT_DIR)).filePath("Form1.png");
    EXPECT_TRUE(picture.save(path, "PNG")) << path.toStdString();

    if (!ApplicationFonts::FacesLoaded()) {
        GTEST_SKIP() << "the fonts the layout is measured for are not installed";
    }
    for (const QLabel* label : form_->findChildren<QLabel*>()) {
        const int width = label->fontMetrics().horizontalAdvance(label->text());
        EXPECT_LE(width, label->width()) << label->objectName().toStdString();
        EXPECT_LE(label->fontMetrics().height(), label->height())
            << label->objectName().toStdString();
    }
    for (const QCheckBox* box : form_->findChildren<QCheckBox*>()) {
        QStyleOptionButton option;
        option.initFrom(box);
        const int indicator =
            box->style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, box) +
            box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, box);
        const int width = indicator + box->fontMetrics().horizontalAdvance(box->text());
        EXPECT_LE(width, box->width()) << box->objectName().toStdString();
    }
    for (const QPushButton* button : form_->findChildren<QPushButton*>()) {
        const int width = button->fontMetrics().horizontalAdvance(button->text());
        // A few pixels stay free for the frame on either side.
        EXPECT_LE(width + 8, button->width()) << button->objectName().toStdString();
    }
}

TEST(MessageDialogRenderTest, RendersTheThreeLineMessage) {
    MessageDialog dialog(
        QString::fromUtf8("Während des Einlesens wurden Daten\rentdeckt die nicht "
                          "Brenstadel konform sind\r(>0F oder Bitstream falsch)"));
    const QString path = QDir(QStringLiteral(VX40_GUI_ARTIFACT_DIR)).filePath("MessageDialog.png");
    EXPECT_TRUE(dialog.grab().save(path, "PNG")) << path.toStdString();
    const QFontMetrics metrics = dialog.TextLabel()->fontMetrics();
    EXPECT_GE(dialog.TextLabel()->height(), 3 * metrics.height());
    EXPECT_GE(dialog.TextLabel()->width(),
              metrics.horizontalAdvance("entdeckt die nicht Brenstadel konform sind"));
}

}  // namespace
}  // namespace vx40
