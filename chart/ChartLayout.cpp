// SPDX-License-Identifier: MIT
#include "chart/ChartLayout.h"

#include <algorithm>
#include <cstdint>

#include "catalogue/QuantityText.h"
#include "chart/ChartBins.h"

const char kChartMeasuringText[] = " 10 MB ";

QRgb ChartBackgroundTop()
{
    return qRgb(208, 208, 192);
}
QRgb ChartBackgroundBottom()
{
    return qRgb(240, 240, 223);
}
QRgb ChartGridColour()
{
    return qRgb(112, 112, 112);
}

QString ElideToWidth(
    const QString& text, int width, const std::function<int(const QString&)>& measure)
{
    if (measure(text) <= width)
        return text;
    const QString ellipsis(QChar(0x2026));
    // The longest beginning that fits, found by halving: widths grow with the length.
    int low = 0;
    int high = static_cast<int>(text.size());
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (measure(text.left(mid) + ellipsis) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    if (low == 0 && measure(ellipsis) > width)
        return QString();
    return text.left(low) + ellipsis;
}

namespace {

// Bars run from the quantity's full colour at the left edge to its half at the right, as
// its row of the quantity table gives them.
void BarColours(Quantity q, QRgb& left, QRgb& right)
{
    const QuantityInfo& row
        = QuantityTable()[std::clamp(static_cast<int>(q), 0, kQuantityCount - 1)];
    left = qRgb(0, 0, 0) | row.barLeft;
    right = qRgb(0, 0, 0) | row.barRight;
}

// a * b / c truncated toward zero. Counts of a hundred thousand photos times a tall plot,
// or a bin index times a wide one, would leave int.
int MulDivTrunc(std::int64_t a, std::int64_t b, std::int64_t c)
{
    return static_cast<int>(a * b / c);
}

} // namespace

CountAxis CountAxisFor(int maxCount)
{
    int digits = 1;
    int power = 1; // 10^(digits - 1)
    while (maxCount / power >= 10) {
        power *= 10;
        ++digits;
    }
    const int leading = digits <= 2 ? maxCount : maxCount / (power / 10);

    CountAxis axis;
    if (leading >= 20)
        axis.step = power;
    else if (maxCount <= 20)
        axis.step = 1;
    else
        axis.step = power / 10;
    axis.tickCount = std::max(2, maxCount / axis.step);
    return axis;
}

ChartLayout LayoutChart(const QRect& client, const ChartBins& bins, const ChartTextMetrics& metrics)
{
    const int left = client.x();
    const int top = client.y();
    const int right = client.x() + client.width();
    const int bottom = client.y() + client.height();
    const int cx = metrics.cx;
    const int cy = metrics.cy;

    ChartLayout layout;
    layout.plotLeft = left + cx;
    layout.plotTop = top + cy / 2;
    layout.plotRight = right - cx / 2;
    layout.plotBottom = bottom - (3 * cy) / 2;
    layout.plotWidth = layout.plotRight - layout.plotLeft;
    layout.plotHeight = layout.plotBottom - layout.plotTop;
    layout.frame = QRect(QPoint(layout.plotLeft - 1, layout.plotTop - 1),
        QPoint(layout.plotRight + 1, layout.plotBottom + 1));
    BarColours(bins.quantity, layout.barLeft, layout.barRight);
    if (bins.nameKind == ChartNameKind::Lens) {
        layout.barLeft = qRgb(255, 128, 0);
        layout.barRight = qRgb(128, 64, 0);
    } else if (bins.nameKind == ChartNameKind::Camera) {
        layout.barLeft = qRgb(128, 128, 255);
        layout.barRight = qRgb(64, 64, 128);
    }

    // Rows listed but none with a value of the shown quantity look like no rows at all.
    // Bins put together by hand use only the values that have a count.
    const bool byName = bins.nameKind != ChartNameKind::None;
    const int binCount = static_cast<int>(
        std::min(byName ? bins.names.size() : bins.values.size(), bins.counts.size()));
    if (binCount == 0)
        return layout;
    layout.hasData = true;

    const int plotLeft = layout.plotLeft;
    const int plotRight = layout.plotRight;
    const int plotBottom = layout.plotBottom;
    const int plotWidth = layout.plotWidth;
    const int plotHeight = layout.plotHeight;

    const int maxCount
        = std::max(1, *std::max_element(bins.counts.begin(), bins.counts.begin() + binCount));
    layout.maxCount = maxCount;
    layout.axis = CountAxisFor(maxCount);

    // Count axis: a grid line and a right-aligned label, centred on it and ending 3 pixels
    // left of the plot, per step. The base line gets none; with a largest count of 1 the
    // second line lies above the plot.
    for (int k = 1; k <= layout.axis.tickCount; ++k) {
        ChartGridLine line;
        line.value = k * layout.axis.step;
        const int y = plotBottom - MulDivTrunc(line.value, plotHeight, maxCount);
        line.line = { QPoint(plotLeft, y), QPoint(plotRight, y) };
        line.label.text = QString::number(line.value);
        const int width = metrics.width(line.label.text);
        line.label.box = QRect(plotLeft - 3 - width, y - cy / 2, width, cy);
        layout.grid.push_back(line);
    }

    // Value axis: one slot per bin. A label that would touch or cross the last drawn one
    // is skipped, but its tick and bar are kept. From 26 bins on every second drawn label
    // sits lower and its tick reaches down to it: 6 pixels lower where the bottom margin
    // has room, else only as far as keeps the label's whole line inside the chart (the
    // margin of one and a half lines leaves 2 pixels with a 13-pixel line).
    const int lowered = std::clamp(bottom - plotBottom - 4 - cy, 0, 6);
    const int slot = plotWidth / binCount;
    int barWidth = (slot * 8) / 10;
    if (slot >= 1)
        barWidth = std::max(1, barWidth);

    int drawnLabels = 0;
    int lastX = 0;
    int lastWidth = 0;
    layout.bins.reserve(static_cast<std::size_t>(binCount));
    for (int i = 0; i < binCount; ++i) {
        ChartBinMark mark;
        const int stagger = (binCount > 25 && drawnLabels % 2 == 1) ? lowered : 0;
        mark.x = MulDivTrunc(plotWidth, i, binCount) + slot / 2 + plotLeft;

        // Only the last drawn label's width decides, so a skipped label is never formatted
        // or measured: with tens of thousands of bins nearly all are skipped.
        mark.labelDrawn = i == 0 || lastX + lastWidth < mark.x;
        if (byName) {
            // A name is cut to its bar pitch, so that every bin keeps its label.
            mark.labelDrawn = true;
            mark.label.text
                = ElideToWidth(QString::fromStdString(bins.names[static_cast<std::size_t>(i)]),
                    slot - 2, metrics.width);
            const int width = metrics.width(mark.label.text);
            mark.label.box = QRect(mark.x - width / 2, plotBottom + 4, width, cy);
        } else if (mark.labelDrawn) {
            mark.label.text = QString::fromStdString(FormatQuantity(bins.quantity, bins.values[i]));
            const int width = metrics.width(mark.label.text);
            mark.label.box = QRect(mark.x - width / 2, plotBottom + stagger + 4, width, cy);
            ++drawnLabels;
            lastX = mark.x;
            lastWidth = width;
        }

        const int extra = mark.labelDrawn ? stagger : 0;
        mark.tick = { QPoint(mark.x, plotBottom + 1), QPoint(mark.x, plotBottom + 3 + extra) };

        const int count = bins.counts[i];
        if (count > 0 && barWidth > 0) {
            const int barLeft = mark.x - barWidth / 2;
            const int barTop = plotBottom - MulDivTrunc(count, plotHeight, maxCount);
            const int barBottom = plotBottom + 1;
            if (barBottom > barTop)
                mark.bar = QRect(barLeft, barTop, barWidth, barBottom - barTop);
        }
        layout.bins.push_back(mark);
    }
    return layout;
}
