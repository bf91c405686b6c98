// SPDX-License-Identifier: MIT
#include "controls/CTransparentStatic.h"

#include "controls/DrawGradient.h"
#include "tests/support/FakeDesktop.h"

#include <QEnterEvent>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QUrl>
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
    // Where the label has no text the gradient shows through it.
    EXPECT_EQ(
        background.pixel(12, 25), GradientColour(qRgb(255, 255, 255), qRgb(180, 180, 255), 25, 40));
}

TEST(CTransparentStatic, LinkModeOpensTheCaptionOnThePress)
{
    FakeDesktop desktop;
    desktop.openSucceeds = false; // a failed open must not matter to the label
    CTransparentStatic label;
    label.resize(200, 20);
    label.setText(QStringLiteral("https://fotolot.example.org"));
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5)); // link mode off: nothing
    EXPECT_TRUE(desktop.opened.isEmpty());

    label.m_isLink = true;
    label.m_hCursor = QCursor(Qt::PointingHandCursor);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&label, &enter);
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(desktop.opened.isEmpty());
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5)); // opens before any release
    EXPECT_EQ(desktop.opened, QList<QUrl> { QUrl(QStringLiteral("https://fotolot.example.org")) });
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(desktop.opened.size(), 1);
}
