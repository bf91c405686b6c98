// SPDX-License-Identifier: MIT
#include "controls/DrawGradient.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

TEST(GradientColour, FallingChannelsTruncateTowardZero)
{
    // 255 + (1 * -127) / 132 stays 255.
    EXPECT_EQ(GradientColour(qRgb(255, 0, 0), qRgb(128, 0, 0), 1, 132), qRgb(255, 0, 0));
    EXPECT_EQ(GradientColour(qRgb(255, 0, 0), qRgb(128, 0, 0), 2, 132), qRgb(254, 0, 0));
}

// Each line of the half-open rectangle gets its colour and nothing outside is touched;
// empty and inverted rectangles draw nothing. A 500-row fill from white towards
// RGB(239, 239, 255) stops one step short of the end colour.
TEST(DrawGradient, FillsExactlyTheHalfOpenRectangle)
{
    const QRgb untouched = qRgb(1, 2, 3);
    struct Case {
        int width, height, left, top, right, bottom, direction;
        QRgb start, end;
    } const cases[] = { { 12, 14, 2, 3, 9, 11, kGradientRows, qRgb(10, 200, 30), qRgb(250, 0, 90) },
        { 12, 14, 2, 3, 9, 11, kGradientColumns, qRgb(10, 200, 30), qRgb(250, 0, 90) },
        { 8, 8, 2, 2, 2, 6, kGradientColumns, 0, ~0u }, { 8, 8, 2, 2, 6, 2, kGradientRows, 0, ~0u },
        { 8, 8, 6, 2, 2, 6, kGradientColumns, 0, ~0u }, { 8, 8, 6, 2, 2, 6, kGradientRows, 0, ~0u },
        { 8, 8, 2, 2, 3, 3, kGradientRows, 0, ~0u }, { 8, 8, 2, 2, 3, 3, kGradientColumns, 0, ~0u },
        { 1, 501, 0, 0, 1, 500, kGradientRows, qRgb(255, 255, 255), qRgb(239, 239, 255) } };
    for (const Case& c : cases) {
        QImage image(c.width, c.height, QImage::Format_RGB32);
        image.fill(untouched);
        QPainter painter(&image);
        DrawGradient(painter, c.left, c.top, c.right, c.bottom, c.start, c.end, c.direction);
        painter.end();
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                const bool inside = x >= c.left && x < c.right && y >= c.top && y < c.bottom;
                const QRgb expected = !inside ? untouched
                    : c.direction == kGradientRows
                    ? GradientColour(c.start, c.end, y - c.top, c.bottom - c.top)
                    : GradientColour(c.start, c.end, x - c.left, c.right - c.left);
                ASSERT_EQ(image.pixel(x, y), expected)
                    << c.left << "," << c.top << "," << c.right << "," << c.bottom << " at " << x
                    << "," << y;
            }
        }
    }
    EXPECT_EQ(
        GradientColour(qRgb(255, 255, 255), qRgb(239, 239, 255), 0, 500), qRgb(255, 255, 255));
    EXPECT_EQ(
        GradientColour(qRgb(255, 255, 255), qRgb(239, 239, 255), 499, 500), qRgb(240, 240, 255));
}
