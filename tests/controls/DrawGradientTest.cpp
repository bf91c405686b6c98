// SPDX-License-Identifier: MIT
#include "controls/DrawGradient.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {
constexpr QRgb kUntouched = qRgb(1, 2, 3);

QImage Blank(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kUntouched);
    return image;
}

QImage Drawn(int width, int height, int left, int top, int right, int bottom, QRgb start, QRgb end,
    int direction)
{
    QImage image = Blank(width, height);
    QPainter painter(&image);
    DrawGradient(painter, left, top, right, bottom, start, end, direction);
    return image;
}
} // namespace

TEST(GradientColour, ChannelsStepByTruncatedIntegerArithmetic)
{
    struct Case {
        QRgb start, end;
        int i, n;
        QRgb expected;
    } const cases[] = {
        { qRgb(208, 208, 192), qRgb(240, 240, 223), 0, 100, qRgb(208, 208, 192) },
        { qRgb(208, 208, 192), qRgb(240, 240, 223), 50, 100, qRgb(224, 224, 207) },
        // A falling channel truncates toward zero: 255 + (1 * -127) / 132 stays 255.
        { qRgb(255, 0, 0), qRgb(128, 0, 0), 1, 132, qRgb(255, 0, 0) },
        { qRgb(255, 0, 0), qRgb(128, 0, 0), 2, 132, qRgb(254, 0, 0) },
        // The main window's last row stops one step short of the end colour.
        { qRgb(255, 255, 255), qRgb(239, 239, 255), 499, 500, qRgb(240, 240, 255) },
        { qRgb(9, 99, 199), qRgb(9, 99, 199), 37, 40, qRgb(9, 99, 199) },
    };
    for (const Case& c : cases)
        EXPECT_EQ(GradientColour(c.start, c.end, c.i, c.n), c.expected)
            << "line " << c.i << " of " << c.n;
}

TEST(DrawGradient, FillsExactlyTheHalfOpenRectangle)
{
    const QRgb start = qRgb(10, 200, 30);
    const QRgb end = qRgb(250, 0, 90);
    for (int direction : { kGradientRows, kGradientColumns }) {
        const QImage image = Drawn(12, 14, 2, 3, 9, 11, start, end, direction);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const bool inside = x >= 2 && x < 9 && y >= 3 && y < 11;
                const QRgb expected = !inside    ? kUntouched
                    : direction == kGradientRows ? GradientColour(start, end, y - 3, 8)
                                                 : GradientColour(start, end, x - 2, 7);
                ASSERT_EQ(image.pixel(x, y), expected)
                    << "direction " << direction << " at " << x << "," << y;
            }
        }
    }
}

TEST(DrawGradient, EmptyThinAndInvertedRectangles)
{
    struct Case {
        int left, top, right, bottom, direction;
        int paintedPixels;
    } const cases[] = {
        { 2, 2, 2, 6, kGradientColumns, 0 }, // width 0 in the drawing direction
        { 2, 2, 6, 2, kGradientRows, 0 }, // height 0 in the drawing direction
        { 6, 2, 2, 6, kGradientColumns, 0 }, // inverted in the drawing direction
        { 2, 2, 2, 6, kGradientRows, 0 }, // width 0 across the rows: no pixel to draw
        { 6, 2, 2, 6, kGradientRows, 0 }, // inverted across the rows
        { 2, 2, 3, 6, kGradientRows, 4 }, // one column wide
        { 2, 2, 6, 3, kGradientRows, 4 }, // one row high
        { 2, 2, 3, 3, kGradientRows, 1 },
    };
    for (const Case& c : cases) {
        const QImage image = Drawn(8, 8, c.left, c.top, c.right, c.bottom, qRgb(0, 0, 0),
            qRgb(255, 255, 255), c.direction);
        int painted = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                painted += image.pixel(x, y) != kUntouched;
        EXPECT_EQ(painted, c.paintedPixels) << c.left << "," << c.top << "," << c.right << ","
                                            << c.bottom << " dir " << c.direction;
    }
}
