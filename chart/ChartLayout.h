// SPDX-License-Identifier: MIT
// Where every part of the distribution chart goes: plot rectangle, frame, count axis,
// value labels, ticks and bars, as plain data computed from the client rectangle, the
// bins and the measured text extents. DrawChart only paints it.
#pragma once

#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>

#include <functional>
#include <vector>

struct ChartBins;

// A one-pixel line from `from` towards `to`, the end point left out: the pixels from
// `from` up to the one before `to`. Every chart line is horizontal or vertical.
struct ChartLine {
    QPoint from;
    QPoint to;
};

// A label and the box its text occupies: left and top edge, text width and line height.
struct ChartLabel {
    QString text;
    QRect box;
};

// One line of the count axis: the dotted grid line at count `value` and its label.
struct ChartGridLine {
    int value = 0;
    ChartLine line;
    ChartLabel label;
};

// One bin on the value axis.
struct ChartBinMark {
    int x = 0; // centre of the bin's slot
    bool labelDrawn = false; // false: the label would crowd the last drawn one
    ChartLabel label; // the formatted value and its box; empty when not drawn
    ChartLine tick;
    QRect bar; // filled pixels, columns left to left + width - 1; empty: no bar
};

// Steps of the count axis for the largest bin count.
struct CountAxis {
    int step = 1;
    int tickCount = 2;
};

struct ChartLayout {
    // The plot rectangle in client coordinates. The gradient fills columns plotLeft to
    // plotRight - 1 and rows plotTop to plotBottom - 1; column plotRight and row
    // plotBottom stay between gradient and frame.
    int plotLeft = 0;
    int plotTop = 0;
    int plotRight = 0;
    int plotBottom = 0;
    int plotWidth = 0;
    int plotHeight = 0;
    QRect frame; // the frame's outline runs along this rectangle's border pixels
    bool hasData = false; // false: background and frame only
    int maxCount = 0;
    CountAxis axis;
    std::vector<ChartGridLine> grid;
    std::vector<ChartBinMark> bins;
    QRgb barLeft = 0; // bar gradient, left column
    QRgb barRight = 0; // bar gradient, right edge
    int slot = 0; // width of one bin's slot
    // The cumulative per cent at each bin's centre, 100 % at the plot's top, when asked for.
    std::vector<QPoint> cumulative;
};

// The bin whose slot holds column x, the nearest bin for a column beside the plot; -1
// without bins.
int BinAtColumn(const ChartLayout& layout, int x);

// n small charts over client: a grid of as many columns as keeps each cell about twice as
// wide as high, filled row by row, each cell at least one pixel.
std::vector<QRect> SmallMultipleCells(const QRect& client, int n);

// The columns the slots of bins first to last span (either order), plot rows only.
QRect SlotsRect(const ChartLayout& layout, int first, int last);

// Measures the chart font: the extent of " 10 MB " sets every margin, and each label's
// width decides where it goes.
struct ChartTextMetrics {
    int cx = 0; // width of " 10 MB ", pixels
    int cy = 0; // line height, pixels
    std::function<int(const QString&)> width;
};

// text cut to at most width pixels: whole when it fits, else its longest beginning that
// fits with "…" after it, else empty.
QString ElideToWidth(
    const QString& text, int width, const std::function<int(const QString&)>& measure);

// The text whose extent sets the chart's margins.
extern const char kChartMeasuringText[];

// Plot background, top row and bottom edge.
QRgb ChartBackgroundTop();
QRgb ChartBackgroundBottom();
// Colour of the dotted grid lines.
QRgb ChartGridColour();
// Colour of the cumulative per cent line.
QRgb ChartCumulativeColour();

// The count axis for a largest count maxCount of at least 1: a power-of-ten step giving
// 2 to 9 ticks when the leading digit is 2 or more, 10 to 19 ticks when it is 1, and a
// step of 1 for counts up to 20; never fewer than 2 ticks.
CountAxis CountAxisFor(int maxCount);

// Lays out the chart over client (the widget's rectangle; right and bottom edge
// exclusive, as Windows gives client rectangles). Bins without any entry give the
// plot background and frame only.
ChartLayout LayoutChart(
    const QRect& client, const ChartBins& bins, const ChartTextMetrics& metrics);
