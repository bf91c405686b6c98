// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <vector>

#include "chart/ChartBins.h"
#include "chart/ChartLayout.h"

namespace {

// A made-up font: " 10 MB " 40 pixels wide, lines 14 high, every label `width` wide.
// The margins are then 40 left, 20 right, 7 above and 21 below the plot.
ChartTextMetrics FakeMetrics(int width = 24)
{
    return ChartTextMetrics { 40, 14, [width](const QString&) { return width; } };
}

ChartLayout Layout(int plotWidth, int plotHeight, Quantity q, const std::vector<double>& values,
    const std::vector<int>& counts, int labelWidth = 24)
{
    ChartBins bins;
    bins.quantity = q;
    bins.values = values;
    bins.counts = counts;
    return LayoutChart(
        QRect(0, 0, 40 + plotWidth + 20, 7 + plotHeight + 21), bins, FakeMetrics(labelWidth));
}

std::vector<double> OneTo(int n)
{
    std::vector<double> values;
    for (int i = 1; i <= n; ++i)
        values.push_back(i);
    return values;
}

TEST(ChartLayout, CountAxisSteps)
{
    const int rows[][3] = {
        // largest count, step, ticks
        { 1, 1, 2 },
        { 7, 1, 7 },
        { 19, 1, 19 },
        { 20, 10, 2 },
        { 21, 10, 2 },
        { 57, 10, 5 },
        { 100, 10, 10 },
        { 150, 10, 15 },
        { 199, 10, 19 },
        { 200, 100, 2 },
        { 1234, 100, 12 },
        { 100000, 10000, 10 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0]);
        EXPECT_EQ(CountAxisFor(row[0]).step, row[1]);
        EXPECT_EQ(CountAxisFor(row[0]).tickCount, row[2]);
    }
}

TEST(ChartLayout, PlotGridSlotsAndBars)
{
    // Three bins over a plot of 500 x 200, largest count 57.
    const ChartLayout layout = Layout(500, 200, Aperture, { 2.8, 4.0, 5.6 }, { 57, 3, 20 });
    const int left = layout.plotLeft;
    const int bottom = layout.plotBottom;
    EXPECT_EQ(QRect(QPoint(left, layout.plotTop), QPoint(layout.plotRight, bottom)),
        QRect(40, 7, 501, 201));
    EXPECT_EQ(layout.frame, QRect(39, 6, 503, 203));

    const int gridY[] = { 35, 70, 105, 140, 175 };
    ASSERT_EQ(layout.grid.size(), 5u);
    for (std::size_t k = 0; k < 5; ++k) {
        const ChartGridLine& line = layout.grid[k];
        EXPECT_EQ(line.label.text, QString::number(10 * (k + 1)));
        EXPECT_EQ(line.line.from, QPoint(left, bottom - gridY[k]));
        EXPECT_EQ(line.line.to, QPoint(layout.plotRight, bottom - gridY[k]));
        // Right-aligned 3 pixels left of the plot, centred on the line.
        EXPECT_EQ(line.label.box, QRect(left - 27, bottom - gridY[k] - 7, 24, 14));
    }

    // Slots of 166, centres at +83, +249, +416, bars 132 wide from centre - 66.
    const int centres[] = { left + 83, left + 249, left + 416 };
    const int heights[] = { 200, 10, 70 };
    ASSERT_EQ(layout.bins.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const ChartBinMark& mark = layout.bins[i];
        EXPECT_EQ(mark.x, centres[i]);
        EXPECT_EQ(mark.label.box, QRect(centres[i] - 12, bottom + 4, 24, 14));
        EXPECT_EQ(mark.tick.from, QPoint(centres[i], bottom + 1));
        EXPECT_EQ(mark.tick.to, QPoint(centres[i], bottom + 3));
        EXPECT_EQ(mark.bar, QRect(centres[i] - 66, bottom - heights[i], 132, heights[i] + 1));
    }
    EXPECT_EQ(layout.bins[1].label.text, "F4.0");
}

TEST(ChartLayout, StaggeredAndSkippedLabels)
{
    // 26 bins in slots of 20 with labels 30 wide: a label is skipped when the last drawn
    // one's centre plus its width reaches its centre, so every second one is drawn; every
    // second drawn label sits 6 lower with a longer tick. Skipped ones keep a short tick
    // and their bar.
    const ChartLayout layout = Layout(520, 200, Iso, OneTo(26), std::vector<int>(26, 1), 30);
    const int bottom = layout.plotBottom;
    ASSERT_EQ(layout.bins.size(), 26u);
    for (std::size_t i = 0; i < 26; ++i) {
        SCOPED_TRACE(i);
        const ChartBinMark& mark = layout.bins[i];
        const int stagger = i % 4 == 2 ? 6 : 0;
        EXPECT_EQ(mark.labelDrawn, i % 2 == 0);
        if (mark.labelDrawn) {
            EXPECT_EQ(mark.label.box.top(), bottom + 4 + stagger);
        }
        EXPECT_EQ(mark.tick.to.y(), bottom + 3 + (mark.labelDrawn ? stagger : 0));
        EXPECT_EQ(mark.bar, QRect(mark.x - 8, layout.plotTop, 16, 201));
    }

    // 25 bins do not stagger.
    for (const ChartBinMark& mark :
        Layout(520, 200, Iso, OneTo(25), std::vector<int>(25, 1), 1).bins)
        EXPECT_EQ(mark.label.box.top(), layout.plotBottom + 4);
}

TEST(ChartLayout, NarrowSlotsAndLargeCounts)
{
    // Over 100 pixels a slot is 1 pixel wide up to 100 bins and 0 beyond: bars keep one
    // pixel as long as their slot has one.
    const int rows[][2] = { { 10, 8 }, { 80, 1 }, { 100, 1 }, { 101, 0 } };
    for (const auto& row : rows) {
        SCOPED_TRACE(row[0]);
        const std::vector<double> values = OneTo(row[0]);
        for (const ChartBinMark& mark :
            Layout(100, 200, Iso, values, std::vector<int>(values.size(), 2)).bins)
            EXPECT_EQ(mark.bar.width(), row[1]);
    }

    // 100,000 photos over a plot 100,000 pixels high: the products leave int.
    const ChartLayout tall = Layout(500, 100000, Iso, { 100, 200 }, { 100000, 50000 });
    ASSERT_EQ(tall.grid.size(), 10u);
    EXPECT_EQ(tall.grid.back().line.from.y(), tall.plotTop);
    EXPECT_EQ(tall.bins[1].bar.top(), tall.plotBottom - 50000);
}

TEST(ChartLayout, WithoutBinsOnlyPlotAndFrame)
{
    const ChartLayout layout = Layout(500, 200, Iso, {}, {});
    EXPECT_FALSE(layout.hasData);
    EXPECT_TRUE(layout.grid.empty());
    EXPECT_TRUE(layout.bins.empty());
    EXPECT_EQ(layout.frame, QRect(39, 6, 503, 203));
}

} // namespace
