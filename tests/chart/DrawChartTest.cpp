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

// The picture of the bins, and their layout.
std::pair<QImage, ChartLayout> Render(const ChartBins& bins)
{
    QImage image = BlankImage();
    QPainter painter(&image);
    PaintChart(painter, image.rect(), bins);
    return { image,
        LayoutChart(QRect(0, 0, kWidth, kHeight), bins, MeasureChartText(ChartFont(96))) };
}

// Row y of the plot background: row i of n is start + (i * (end - start)) / n.
QRgb BackgroundAt(const ChartLayout& layout, int y)
{
    const int n = layout.plotHeight, i = y - layout.plotTop;
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

} // namespace

TEST(DrawChart, WithoutBinsOnlyBackgroundAndFrame)
{
    // No rows, and rows without a positive value of the shown quantity, look the same:
    // the gradient, the unpainted column and row inside the frame, the frame, and the
    // margins untouched.
    for (const ChartBins& bins : { ChartBins(), BinValues(Iso, { 0, -5 }) }) {
        const auto [image, layout] = Render(bins);
        const QRect& f = layout.frame;
        ASSERT_GT(layout.plotHeight, 100);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
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
        const std::vector<QRgb> dots = { grey, grey, grey, back, back, back, grey };
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(image.pixel(x + i, y), dots[static_cast<std::size_t>(i)]) << i;
        EXPECT_EQ(image.pixel(layout.plotRight, y), kBehind);
        EXPECT_TRUE(HasText(image, line.label.box));
    }
    // F2.8 (2 photos) reaches the plot's top, F4.0 half way; both stand on the row
    // plotBottom. Red falls from 255 in the left column towards 128.
    const int heights[] = { layout.plotHeight, layout.plotHeight / 2 };
    const char* texts[] = { "F2.8", "F4.0" };
    for (std::size_t i = 0; i < 2; ++i) {
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
        const QRgb tick[] = { kBlack, kBlack, kBehind };
        for (int dy = 1; dy <= 3; ++dy)
            EXPECT_EQ(image.pixel(mark.x, bottom + dy), tick[dy - 1]) << i << ' ' << dy;
        EXPECT_TRUE(HasText(image, mark.label.box));
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
    for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(image.pixel(x, 0), kBehind) << x;
}

TEST(DrawChart, TwentySixBinsStaggerAndSkipLabels)
{
    std::vector<double> values;
    for (int i = 1; i <= 26; ++i)
        values.push_back(i * 100);
    const auto [image, layout] = Render(BinValues(Iso, values));
    const int bottom = layout.plotBottom;
    int drawn = 0, skipped = 0;
    for (const ChartBinMark& mark : layout.bins) {
        // Ticks to the drawn labels, every second of them 6 longer; skipped ones keep theirs.
        const int extra = mark.labelDrawn && drawn % 2 == 1 ? 6 : 0;
        for (int y = bottom + 1; y <= bottom + 3 + extra; ++y)
            EXPECT_EQ(image.pixel(mark.x, y), y <= bottom + 2 + extra ? kBlack : kBehind) << mark.x;
        if (mark.labelDrawn) {
            EXPECT_EQ(mark.label.box.top(), bottom + 4 + extra);
            EXPECT_TRUE(HasText(image, mark.label.box));
        }
        (mark.labelDrawn ? drawn : skipped)++;
        EXPECT_EQ(image.pixel(mark.bar.left(), layout.plotTop), qRgb(0, 255, 0)) << mark.x;
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
    const std::pair<std::vector<double>, std::vector<double>> cases[]
        = { { { 0.004, nan, 0, 0.5, inf, 1, -inf, 30, 0.5 }, { 0.004, 0.5, 0.5, 1, 30 } },
              { {}, {} } };
    for (const auto& [shown, charted] : cases) {
        chart.SetData(ShutterSpeed, shown);
        QImage image = BlankImage();
        chart.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
        EXPECT_EQ(image, Render(BinValues(ShutterSpeed, charted)).first);
    }
}
