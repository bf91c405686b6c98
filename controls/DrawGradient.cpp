// SPDX-License-Identifier: MIT
#include "controls/DrawGradient.h"

#include <QColor>
#include <QPainter>
#include <QRect>

#include <algorithm>

namespace {
int Channel(int start, int end, int i, int n)
{
    // C++ division truncates toward zero, as the gradient requires for falling channels.
    return std::clamp(start + (i * (end - start)) / n, 0, 255);
}
} // namespace

QRgb GradientColour(QRgb start, QRgb end, int i, int n)
{
    return qRgb(Channel(qRed(start), qRed(end), i, n), Channel(qGreen(start), qGreen(end), i, n),
        Channel(qBlue(start), qBlue(end), i, n));
}

void DrawGradient(QPainter& painter, int left, int top, int right, int bottom, QRgb start, QRgb end,
    int direction)
{
    const bool rows = direction == kGradientRows;
    const int n = rows ? bottom - top : right - left;
    // The lines span the other dimension; when that is empty or inverted there are no
    // pixels in the half-open rectangle, so nothing is drawn either.
    if (n <= 0 || right <= left || bottom <= top)
        return;
    // fillRect of a one-pixel-thick rectangle covers exactly the half-open line, whatever
    // the painter's pen and antialiasing; drawLine would also paint the end point.
    for (int i = 0; i < n; ++i) {
        const QColor colour(GradientColour(start, end, i, n));
        if (rows)
            painter.fillRect(QRect(left, top + i, right - left, 1), colour);
        else
            painter.fillRect(QRect(left + i, top, 1, bottom - top), colour);
    }
}

void DrawGradient(QPainter& painter, const QRect& rect, QRgb start, QRgb end, int direction)
{
    DrawGradient(painter, rect.x(), rect.y(), rect.x() + rect.width(), rect.y() + rect.height(),
        start, end, direction);
}
