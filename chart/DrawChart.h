// SPDX-License-Identifier: MIT
// Painting the distribution chart: its font, its text metrics, and the painter that
// draws a computed layout.
#pragma once

struct ChartBins;
struct ChartLayout;
struct ChartTextMetrics;
class QFont;
class QPainter;
class QRect;

// The chart font: "Arial" (Liberation Sans where Arial is not installed) with a
// character height of 8 points at dpiY dots per inch, in whole pixels.
QFont ChartFont(int dpiY);

// The extent of " 10 MB " and a label measurer for font.
ChartTextMetrics MeasureChartText(const QFont& font);

// Paints layout with font: plot gradient, frame, then if there is data the dotted grid
// lines with their count labels and, bin by bin, value label, tick and bar. Lines leave
// their end point out. Only the frame and what lies inside it are filled; the margins
// keep what the painter already holds apart from labels and ticks.
void DrawChart(QPainter& painter, const ChartLayout& layout, const QFont& font);

// Lays out and paints bins over client on painter, with the chart font for the
// painter's device.
void PaintChart(QPainter& painter, const QRect& client, const ChartBins& bins);
