// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <limits>
#include <vector>

#include "chart/CChartStatic.h"
#include "chart/ChartBins.h"
#include "chart/ChartLayout.h"
#include "chart/DrawChart.h"

namespace {

// The control's size in the main dialog, 381 x 132 dialog units, at 96 dots per inch.
constexpr int kWidth = 572;
constexpr int kHeight = 198;
const QRgb kBehind = qRgb(1, 2, 3); // the dialog's background behind the margins
const QRgb kBlack = qRgb(0, 0, 0);

QImage BlankImage()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(kBehind);
    return image;
}

QImage Render(const ChartBins& bins)
{
    QImage image = BlankImage();
    QPainter painter(&image);
    PaintChart(painter, image.rect(), bins);
    return image;
}

ChartLayout LayoutFor(const ChartBins& bins)
{
    return LayoutChart(QRect(0, 0, kWidth, kHeight), bins, MeasureChartText(ChartFont(96)));
}

// Row y of the plot background: row i of n is start + (i * (end - start)) / n.
QRgb BackgroundAt(const ChartLayout& layout, int y)
{
    const int n = layout.plotHeight;
    const int i = y - layout.plotTop;
    return qRgb(208 + (i * 32) / n, 208 + (i * 32) / n, 192 + (i * 31) / n);
}

bool HasText(const QImage& image, const QRect& box)
{
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (image.valid(x, y) && qGray(image.pixel(x, y)) < 96)
                return true;
    return false;
}

TEST(DrawChart, WithoutBinsOnlyBackgroundAndFrame)
{
    // No rows, and rows without a positive value of the shown quantity, look the same:
    // the gradient, the unpainted column and row inside the frame, the frame, and the
    // margins untouched.
    const ChartLayout layout = LayoutFor(ChartBins());
    ASSERT_GT(layout.plotHeight, 100);
    for (const QImage& image : { Render(ChartBins()), Render(BinValues(Iso, { 0, -5 })) }) {
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const QRect& f = layout.frame;
                QRgb expected = kBehind;
                if (x < layout.plotRight && y < layout.plotBottom && f.contains(x, y))
                    expected = BackgroundAt(layout, y);
                if (f.contains(x, y)
                    && (x == f.left() || x == f.right() || y == f.top() || y == f.bottom()))
                    expected = kBlack;
                ASSERT_EQ(image.pixel(x, y), expected) << x << ", " << y;
            }
        }
    }
}

TEST(DrawChart, ThreeAperturesTwoBins)
{
    const ChartBins bins = BinValues(Aperture, { 2.8, 4.0, 2.8 });
    const ChartLayout layout = LayoutFor(bins);
    const QImage image = Render(bins);
    const int bottom = layout.plotBottom;
    ASSERT_EQ(layout.bins.size(), 2u);
    ASSERT_EQ(layout.grid.size(), 2u);

    // Dotted lines at counts 1 and 2 (the plot's top row): 3 pixels on, 3 off, from the
    // plot's left edge, ending before the column plotRight.
    const QRgb grey = qRgb(112, 112, 112);
    for (const ChartGridLine& line : layout.grid) {
        const int x = layout.plotLeft;
        const int y = line.line.from.y();
        EXPECT_EQ(image.pixel(x, y), grey);
        EXPECT_EQ(image.pixel(x + 2, y), grey);
        EXPECT_EQ(image.pixel(x + 3, y), BackgroundAt(layout, y));
        EXPECT_EQ(image.pixel(x + 5, y), BackgroundAt(layout, y));
        EXPECT_EQ(image.pixel(x + 6, y), grey);
        EXPECT_EQ(image.pixel(layout.plotRight, y), kBehind);
        EXPECT_TRUE(HasText(image, line.label.box));
    }
    EXPECT_EQ(layout.grid[1].line.from.y(), layout.plotTop);

    // F2.8 (2 photos) reaches the plot's top, F4.0 half way; both stand on the row
    // plotBottom. Red falls from 255 in the left column towards 128.
    const int heights[] = { layout.plotHeight, layout.plotHeight / 2 };
    const char* texts[] = { "F2.8", "F4.0" };
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const ChartBinMark& mark = layout.bins[i];
        const QRect& bar = mark.bar;
        const int w = bar.width();
        EXPECT_EQ(mark.label.text, texts[i]);
        EXPECT_EQ(bar.top(), bottom - heights[i]);
        EXPECT_EQ(image.pixel(bar.left(), bar.top()), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(bar.left(), bottom), qRgb(255, 0, 0));
        EXPECT_EQ(image.pixel(bar.right(), bottom), qRgb(255 - ((w - 1) * 127) / w, 0, 0));
        EXPECT_EQ(image.pixel(bar.left() - 1, bottom), kBehind);
        EXPECT_EQ(image.pixel(bar.right() + 1, bottom - 1), BackgroundAt(layout, bottom - 1));
        EXPECT_NE(image.pixel(bar.left(), bar.top() - 1), qRgb(255, 0, 0));
        // The tick covers the frame row and the row below; the label starts after a gap.
        EXPECT_EQ(image.pixel(mark.x, bottom + 1), kBlack);
        EXPECT_EQ(image.pixel(mark.x, bottom + 2), kBlack);
        EXPECT_EQ(image.pixel(mark.x, bottom + 3), kBehind);
        EXPECT_TRUE(HasText(image, mark.label.box));
    }
}

TEST(DrawChart, SingleBinCentredAndFull)
{
    const ChartBins bins = BinValues(FileSize, { 3.2 });
    const ChartLayout layout = LayoutFor(bins);
    const QImage image = Render(bins);
    const int w = (layout.plotWidth * 8) / 10;
    const int left = layout.plotLeft + layout.plotWidth / 2 - w / 2;
    const int row = layout.plotTop + 1;
    const int fall = ((w - 1) * 127) / w;
    EXPECT_EQ(image.pixel(left, layout.plotTop), qRgb(0, 255, 255));
    EXPECT_EQ(image.pixel(left + w - 1, layout.plotBottom), qRgb(0, 255 - fall, 255 - fall));
    EXPECT_EQ(image.pixel(left - 1, row), BackgroundAt(layout, row));
    EXPECT_EQ(image.pixel(left + w, row), BackgroundAt(layout, row));
    // The count line at 2 lies a plot height above the plot, outside the image.
    EXPECT_LT(layout.grid[1].line.from.y(), 0);
    for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(image.pixel(x, 0), kBehind) << x;
}

TEST(DrawChart, TwentySixBinsStaggerAndSkipLabels)
{
    std::vector<double> values;
    for (int i = 1; i <= 26; ++i)
        values.push_back(i * 100);
    const ChartBins bins = BinValues(Iso, values);
    const ChartLayout layout = LayoutFor(bins);
    const QImage image = Render(bins);
    const int bottom = layout.plotBottom;
    int drawn = 0;
    int skipped = 0;
    for (const ChartBinMark& mark : layout.bins) {
        SCOPED_TRACE(mark.x);
        const int extra = mark.labelDrawn && drawn % 2 == 1 ? 6 : 0;
        for (int y = bottom + 1; y <= bottom + 2 + extra; ++y)
            EXPECT_EQ(image.pixel(mark.x, y), kBlack) << y;
        if (mark.labelDrawn) {
            EXPECT_EQ(mark.label.box.top(), bottom + 4 + extra);
            EXPECT_TRUE(HasText(image, mark.label.box));
            ++drawn;
        } else {
            EXPECT_EQ(image.pixel(mark.x, bottom + 3), kBehind);
            ++skipped;
        }
        EXPECT_EQ(image.pixel(mark.bar.left(), layout.plotTop), qRgb(0, 255, 0));
    }
    // Labels of four digits are wider than half a slot here: some are skipped.
    EXPECT_GT(drawn, 2);
    EXPECT_GT(skipped, 0);
}

TEST(DrawChart, ControlPaintsItsBins)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    CChartStatic chart;
    chart.resize(kWidth, kHeight);
    // Missing, not-a-number and infinite values do not change the picture.
    chart.SetData(ShutterSpeed, { 0.004, nan, 0, 0.5, inf, 1, -inf, 30, 0.5 });
    QImage shown = BlankImage();
    chart.render(&shown, QPoint(), QRegion(), QWidget::RenderFlags());
    EXPECT_EQ(shown, Render(BinValues(ShutterSpeed, { 0.004, 0.5, 0.5, 1, 30 })));

    chart.SetData(ShutterSpeed, {});
    QImage empty = BlankImage();
    chart.render(&empty, QPoint(), QRegion(), QWidget::RenderFlags());
    EXPECT_EQ(empty, Render(ChartBins()));
}

} // namespace
