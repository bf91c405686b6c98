// SPDX-License-Identifier: MIT
// Linear colour gradient drawn as one-pixel lines, shared by the dialogs' backgrounds and
// the chart's plot area and bars.
#pragma once

#include <QRgb>

class QPainter;
class QRect;

// Direction 1 draws one horizontal line per row from top to bottom; any other value one
// vertical line per column from left to right.
constexpr int kGradientRows = 1;
constexpr int kGradientColumns = 2;

// Colour of line i of n (0 <= i < n): each channel is start + (i * (end - start)) / n in
// int arithmetic, truncated toward zero, so line 0 is start and line n - 1 stops one step
// short of end. Alpha is opaque.
QRgb GradientColour(QRgb start, QRgb end, int i, int n);

// Fills the half-open rectangle (columns left .. right - 1, rows top .. bottom - 1) and
// nothing outside it. A rectangle that is empty or inverted in either direction draws
// nothing.
void DrawGradient(QPainter& painter, int left, int top, int right, int bottom, QRgb start, QRgb end,
    int direction);

// The same for the pixels of rect (rect.x() .. rect.x() + rect.width() - 1, likewise rows).
void DrawGradient(QPainter& painter, const QRect& rect, QRgb start, QRgb end, int direction);
