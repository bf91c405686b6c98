// SPDX-License-Identifier: MIT
#include "controls/CTransparentStatic.h"

#include "controls/DrawGradient.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {
// A parent that paints a gradient, as the dialogs do.
class GradientParent : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        DrawGradient(painter, rect(), qRgb(255, 255, 255), qRgb(180, 180, 255), kGradientRows);
    }
};

// What the window shows now: the pending repaints are done, then the window's pixels are
// read back, so a repaint that left old pixels in place would show.
QImage OnScreen(QWidget& window)
{
    QCoreApplication::processEvents();
    return window.screen()
        ->grabWindow(window.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}
} // namespace

TEST(CTransparentStatic, ShorterTextLeavesNoRemnantOfTheLonger)
{
    GradientParent parent;
    parent.resize(200, 40);
    auto* label = new CTransparentStatic(&parent);
    label->setGeometry(10, 10, 150, 16);
    label->setText(QStringLiteral("8888/8888"));
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    label->setText(QString());
    const QImage background = OnScreen(parent);

    label->setText(QStringLiteral("8888/8888"));
    const QImage longText = OnScreen(parent);
    label->setText(QStringLiteral("1/2"));
    const QImage shortText = OnScreen(parent);

    // The long text changed pixels past where the short text ends; after the change every
    // one of those shows the parent's gradient again.
    const int shortEnd = 10 + label->fontMetrics().horizontalAdvance(QStringLiteral("1/2")) + 2;
    const QRect pastShortText(shortEnd, 10, 160 - shortEnd, 16);
    EXPECT_NE(longText.copy(pastShortText), background.copy(pastShortText));
    EXPECT_EQ(shortText.copy(pastShortText), background.copy(pastShortText));
    // Where the label has no text the gradient shows through it: row 25 of 40 from white
    // towards RGB(180, 180, 255).
    EXPECT_EQ(background.pixel(12, 25), qRgb(209, 209, 255));
}
