// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <vector>

#include "chart/ChartBins.h"
#include "chart/ChartLayout.h"
#include "chart/DrawChart.h"

namespace {

const QRgb kBehind = qRgb(1, 2, 3); // the dialog's background behind the margins
const QRgb kBlack = qRgb(0, 0, 0);

// The picture of the bins, and their layout, in the control's size in the main dialog:
// 381 x 132 dialog units at 96 dots per inch.
std::pair<QImage, ChartLayout> Render(const ChartBins& bins)
{
    QImage image(572, 198, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(kBehind);
    QPainter painter(&image);
    PaintChart(painter, image.rect(), bins);
    return { image, LayoutChart(image.rect(), bins, MeasureChartText(ChartFont(96))) };
}

// Row y of the plot background: row i of n is start + (i * (end - start)) / n.
QRgb BackgroundAt(const ChartLayout& layout, int y)
{
    const int n = layout.plotHeight, i = y - layout.plotTop;
    return qRgb(208 + (i * 32) / n, 208 + (i * 32) / n, 192 + (i * 31) / n);
}

} // namespace

TEST(DrawChart, WithoutBinsOnlyBackgroundAndFrame)
{
    // No rows, and rows without a positive value of the shown quantity, look the same:
    // the gradient, the unpainted column and row inside the frame, the frame, and the
    // margins untouched.
    for (const ChartBins& bins : { ChartBins(), BinValues(Iso, { 0, -5 }) }) {
        const auto [image, layout] = Render(bins);
        const QRect& f = layout.frame;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const bool inside = f.adjusted(1, 1, -1, -1).contains(x, y);
                const bool plot = inside && x < layout.plotRight && y < layout.plotBottom;
                ASSERT_EQ(image.pixel(x, y),
                    plot                              ? BackgroundAt(layout, y)
                        : f.contains(x, y) && !inside ? kBlack
                                                      : kBehind)
                    << x << ", " << y;
            }
    }
}

TEST(DrawChart, ThreeAperturesTwoBins)
{
    const auto [image, layout] = Render(BinValues(Aperture, { 2.8, 4.0, 2.8 }));
    const int bottom = layout.plotBottom;
    ASSERT_EQ(layout.bins.size(), 2u);
    ASSERT_EQ(layout.grid.size(), 2u);
    // Dotted lines at counts 1 and 2 (the plot's top row): 3 pixels on, 3 off, from the
    // plot's left edge, ending before the column plotRight.
    EXPECT_EQ(layout.grid[1].line.from.y(), layout.plotTop);
    for (const ChartGridLine& line : layout.grid) {
        const int x = layout.plotLeft, y = line.line.from.y();
        const QRgb grey = qRgb(112, 112, 112), back = BackgroundAt(layout, y);
        const QRgb dots[] = { grey, grey, grey, back, back, back, grey };
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(image.pixel(x + i, y), dots[i]) << i;
        EXPECT_EQ(image.pixel(layout.plotRight, y), kBehind);
    }
    // F2.8 (2 photos) reaches the plot's top, F4.0 half way; both stand on the row
    // plotBottom. Red falls from 255 in the left column towards 128.
    const int heights[] = { layout.plotHeight, layout.plotHeight / 2 };
    const char* texts[] = { "F2.8", "F4.0" };
    for (std::size_t i = 0; i < 2; ++i) {
        const ChartBinMark& mark = layout.bins[i];
        const QRect& bar = mark.bar;
        EXPECT_EQ(mark.label.text, texts[i]);
        EXPECT_EQ(bar.top(), bottom - heights[i]);
        EXPECT_EQ(image.pixel(bar.left(), bar.top()), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(bar.left(), bottom), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(bar.right(), bottom),
            qRgb(255 - ((bar.width() - 1) * 127) / bar.width(), 0, 0));
        EXPECT_EQ(image.pixel(bar.left() - 1, bottom), kBehind);
        EXPECT_EQ(image.pixel(bar.right() + 1, bottom - 1), BackgroundAt(layout, bottom - 1));
        EXPECT_NE(image.pixel(bar.left(), bar.top() - 1), qRgb(255, 0, 0));
        // The tick covers the frame row and the row below; the label starts after a gap.
        EXPECT_EQ(std::make_tuple(image.pixel(mark.x, bottom + 1), image.pixel(mark.x, bottom + 2),
                      image.pixel(mark.x, bottom + 3)),
            std::make_tuple(kBlack, kBlack, kBehind));
    }
}

TEST(DrawChart, SingleBinCentredAndFull)
{
    const auto [image, layout] = Render(BinValues(FileSize, { 3.2 }));
    const int w = (layout.plotWidth * 8) / 10;
    const int left = layout.plotLeft + layout.plotWidth / 2 - w / 2;
    const int row = layout.plotTop + 1, fall = ((w - 1) * 127) / w;
    EXPECT_EQ(image.pixel(left, layout.plotTop), qRgb(0, 255, 255));
    EXPECT_EQ(image.pixel(left + w - 1, layout.plotBottom), qRgb(0, 255 - fall, 255 - fall));
    EXPECT_EQ(image.pixel(left - 1, row), BackgroundAt(layout, row));
    EXPECT_EQ(image.pixel(left + w, row), BackgroundAt(layout, row));
    // The count line at 2 lies a plot height above the plot, outside the image.
    EXPECT_LT(layout.grid[1].line.from.y(), 0);
    for (int x = 0; x < image.width(); ++x)
        ASSERT_EQ(image.pixel(x, 0), kBehind) << x;
}
