// SPDX-License-Identifier: MIT
#include "chart/DrawChart.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QRect>

#include <algorithm>
#include <cstdlib>

#include "chart/ChartBins.h"
#include "chart/ChartLayout.h"
#include "controls/DrawGradient.h"

namespace {

// The pixels of a horizontal or vertical line from `from` up to, not including, `to`.
QRect LinePixels(const ChartLine& line)
{
    const QPoint& a = line.from;
    const QPoint& b = line.to;
    if (a.y() == b.y() && a.x() != b.x()) {
        const int first = a.x() < b.x() ? a.x() : b.x() + 1;
        return QRect(first, a.y(), std::abs(b.x() - a.x()), 1);
    }
    if (a.x() == b.x() && a.y() != b.y()) {
        const int first = a.y() < b.y() ? a.y() : b.y() + 1;
        return QRect(a.x(), first, 1, std::abs(b.y() - a.y()));
    }
    return QRect();
}

// A dotted cosmetic pen draws 3 pixels, leaves 3 out, from the line's start point on.
// The gaps stay transparent.
void DrawDottedLine(QPainter& painter, const ChartLine& line, QRgb colour)
{
    const QPoint& a = line.from;
    const QPoint& b = line.to;
    if (a.y() != b.y() || a.x() == b.x())
        return; // grid lines are horizontal
    const int direction = a.x() < b.x() ? 1 : -1;
    const int length = std::abs(b.x() - a.x());
    for (int i = 0; i < length; i += 6) {
        const int run = std::min(3, length - i);
        const int x0 = a.x() + direction * i;
        const int x1 = a.x() + direction * (i + run - 1);
        painter.fillRect(QRect(QPoint(std::min(x0, x1), a.y()), QPoint(std::max(x0, x1), a.y())),
            QColor(colour));
    }
}

// Draws text with the top of its line at box's top edge.
void DrawLabel(QPainter& painter, const ChartLabel& label, int ascent)
{
    painter.drawText(QPoint(label.box.left(), label.box.top() + ascent), label.text);
}

} // namespace

QFont ChartFont(int dpiY)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Normal);
    // MulDiv(8, dpiY, 72): 8 points, rounded to whole pixels.
    font.setPixelSize(std::max(1, (8 * dpiY + 36) / 72));
    return font;
}

ChartTextMetrics MeasureChartText(const QFont& font)
{
    const QFontMetrics fm(font);
    ChartTextMetrics metrics;
    metrics.cx = fm.horizontalAdvance(QString::fromLatin1(kChartMeasuringText));
    metrics.cy = fm.height();
    metrics.width = [fm](const QString& text) { return fm.horizontalAdvance(text); };
    return metrics;
}

void DrawChart(QPainter& painter, const ChartLayout& layout, const QFont& font)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.setBackgroundMode(Qt::TransparentMode);
    const int ascent = QFontMetrics(font).ascent();

    DrawGradient(painter, layout.plotLeft, layout.plotTop, layout.plotRight, layout.plotBottom,
        ChartBackgroundTop(), ChartBackgroundBottom(), kGradientRows);

    const QRect& f = layout.frame;
    painter.fillRect(QRect(f.left(), f.top(), f.width(), 1), Qt::black);
    painter.fillRect(QRect(f.left(), f.bottom(), f.width(), 1), Qt::black);
    painter.fillRect(QRect(f.left(), f.top(), 1, f.height()), Qt::black);
    painter.fillRect(QRect(f.right(), f.top(), 1, f.height()), Qt::black);

    if (layout.hasData) {
        for (const ChartGridLine& line : layout.grid) {
            DrawDottedLine(painter, line.line, ChartGridColour());
            DrawLabel(painter, line.label, ascent);
        }
        for (const ChartBinMark& mark : layout.bins) {
            if (mark.labelDrawn)
                DrawLabel(painter, mark.label, ascent);
            painter.fillRect(LinePixels(mark.tick), Qt::black);
            if (!mark.bar.isEmpty())
                DrawGradient(painter, mark.bar, layout.barLeft, layout.barRight, kGradientColumns);
        }
        if (layout.cumulative.size() > 1) {
            painter.setPen(QPen(QColor(ChartCumulativeColour()), 2));
            painter.drawPolyline(
                layout.cumulative.data(), static_cast<int>(layout.cumulative.size()));
        }
    }
    painter.restore();
}

void PaintChart(QPainter& painter, const QRect& client, const ChartBins& bins)
{
    const QFont font = ChartFont(painter.device()->logicalDpiY());
    DrawChart(painter, LayoutChart(client, bins, MeasureChartText(font)), font);
}
