// SPDX-License-Identifier: MIT
#include "controls/DrawGradient.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {
const QRgb kUntouched = qRgb(1, 2, 3);

QImage Fill(QSize size, QRect rect, int direction, QRgb start, QRgb end)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(kUntouched);
    QPainter painter(&image);
    DrawGradient(
        painter, rect.left(), rect.top(), rect.right(), rect.bottom(), start, end, direction);
    return image;
}
} // namespace

// Rows (or columns) of the half-open rectangle from (2, 3) up to (6, 7), from
// RGB(10, 200, 30) towards RGB(250, 0, 90): each channel start + (i * (end - start)) / 4,
// truncated toward zero; nothing outside is touched.
TEST(DrawGradient, FillsExactlyTheHalfOpenRectangle)
{
    const QRgb steps[]
        = { qRgb(10, 200, 30), qRgb(70, 150, 45), qRgb(130, 100, 60), qRgb(190, 50, 75) };
    for (int direction : { kGradientRows, kGradientColumns }) {
        const QImage image = Fill(
            { 8, 9 }, QRect(QPoint(2, 3), QPoint(6, 7)), direction, steps[0], qRgb(250, 0, 90));
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= 2 && x < 6 && y >= 3 && y < 7;
                ASSERT_EQ(image.pixel(x, y),
                    !inside ? kUntouched : steps[direction == kGradientRows ? y - 3 : x - 2])
                    << direction << " at " << x << "," << y;
            }
        }
        const QImage inverted
            = Fill({ 8, 8 }, QRect(QPoint(6, 6), QPoint(2, 2)), direction, 0, ~0u);
        EXPECT_EQ(inverted.pixel(4, 4), kUntouched);
    }
    // 255 + (1 * -127) / 132 stays 255.
    EXPECT_EQ(GradientColour(qRgb(255, 0, 0), qRgb(128, 0, 0), 1, 132), qRgb(255, 0, 0));
    EXPECT_EQ(GradientColour(qRgb(255, 0, 0), qRgb(128, 0, 0), 2, 132), qRgb(254, 0, 0));
}
