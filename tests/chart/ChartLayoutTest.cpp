// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "chart/ChartBins.h"
#include "chart/ChartLayout.h"

// Bins of the values with their counts over a plot of the given size. A made-up font:
// " 10 MB " 40 pixels wide, lines lineHeight high (14: margins of 40 left, 20 right, 7
// above and 21 below the plot), every label labelWidth wide.
static ChartLayout Layout(int plotWidth, int plotHeight, std::vector<double> values,
    std::vector<int> counts, int labelWidth = 24, int lineHeight = 14)
{
    const ChartTextMetrics metrics { 40, lineHeight,
        [labelWidth](const QString&) { return labelWidth; } };
    const QRect client(0, 0, 40 + plotWidth + 20, lineHeight / 2 + plotHeight + 3 * lineHeight / 2);
    return LayoutChart(client,
        ChartBins { Aperture, std::move(values), std::move(counts), ChartNameKind::None, {} },
        metrics);
}

static std::vector<double> OneTo(int n)
{
    std::vector<double> values(static_cast<std::size_t>(n));
    std::iota(values.begin(), values.end(), 1.0);
    return values;
}

// Values, their bins and counts: bins by value, not row or count; missing and negative
// values left out; more than a fixed table of 200 (each twice, falling).
TEST(ChartLayout, BinsCountAxisGridSlotsAndStaggeredLabels)
{
    std::vector<double> many = OneTo(1000);
    many.insert(many.end(), many.begin(), many.end());
    std::reverse(many.begin(), many.end());
    const std::tuple<std::vector<double>, std::vector<double>, std::vector<int>> bins[]
        = { { { 2.8, 4.0, 2.8 }, { 2.8, 4.0 }, { 2, 1 } }, { {}, {}, {} },
              { { 50, 18, 200, 18, 50, 18 }, { 18, 50, 200 }, { 3, 2, 1 } },
              { { 0, 400, -100, 0, 400 }, { 400 }, { 2 } },
              { many, OneTo(1000), std::vector<int>(1000, 2) } };
    for (const auto& [values, binValues, counts] : bins) {
        const ChartBins b = BinValues(Iso, values);
        EXPECT_EQ(
            std::tie(b.quantity, b.values, b.counts), std::make_tuple(Iso, binValues, counts));
    }
    // Largest count, step, ticks.
    const int rows[][3] = { { 1, 1, 2 }, { 7, 1, 7 }, { 19, 1, 19 }, { 20, 10, 2 }, { 21, 10, 2 },
        { 57, 10, 5 }, { 100, 10, 10 }, { 150, 10, 15 }, { 199, 10, 19 }, { 200, 100, 2 },
        { 1234, 100, 12 }, { 100000, 10000, 10 } };
    for (const auto& [count, step, ticks] : rows)
        EXPECT_EQ(std::make_pair(CountAxisFor(count).step, CountAxisFor(count).tickCount),
            std::make_pair(step, ticks))
            << count;
    // A largest count of 57 over a plot 200 high: a grid line every 35 pixels. Three bins
    // over a plot 500 wide: slots of 166 centred at +83, +249 and +416, bars 132 wide.
    const ChartLayout layout = Layout(500, 200, { 2.8, 4.0, 5.6 }, { 57, 3, 20 });
    for (std::size_t k = 0; k < 5; ++k)
        EXPECT_EQ(layout.grid[k].line.from.y(), layout.plotBottom - 35 * static_cast<int>(k + 1));
    const int centres[] = { 83, 249, 416 }, heights[] = { 200, 10, 70 };
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(layout.bins[i].bar,
            QRect(layout.plotLeft + centres[i] - 66, layout.plotBottom - heights[i], 132,
                heights[i] + 1));
    // 100,000 photos over a plot 100,000 pixels high, bottom row 100,007: the products leave
    // int; the bar of 50,000 reaches row 50,007.
    EXPECT_EQ(Layout(500, 100000, { 100, 200 }, { 100000, 50000 }).bins[1].bar.top(), 50007);

    // From 26 bins on, every second drawn label sits lower with a longer tick, 6 pixels
    // where the bottom margin (one and a half lines) has room, else as far as keeps its line
    // inside. Skipped labels keep a short tick and their bar. Line heights and the lowering
    // they leave:
    for (const auto& [lineHeight, lowered] :
        { std::pair { 8, 0 }, { 12, 2 }, { 13, 2 }, { 19, 5 }, { 20, 6 }, { 40, 6 } }) {
        const ChartLayout tall
            = Layout(520, 200, OneTo(26), std::vector<int>(26, 1), 30, lineHeight);
        EXPECT_EQ(tall.bins[2].label.box.top() - tall.bins[0].label.box.top(), lowered)
            << lineHeight;
        EXPECT_EQ(tall.bins[2].tick.to.y() - tall.bins[0].tick.to.y(), lowered) << lineHeight;
    }
    const ChartLayout flat = Layout(520, 200, OneTo(25), std::vector<int>(25, 1), 1);
    for (const ChartBinMark& mark : flat.bins)
        EXPECT_EQ(mark.label.box.top(), flat.plotBottom + 4); // 25 bins do not stagger
    // 100 bins over 100 pixels: slots of 1 pixel, and each bar keeps it.
    for (const ChartBinMark& mark : Layout(100, 200, OneTo(100), std::vector<int>(100, 2)).bins)
        EXPECT_EQ(mark.bar.width(), 1);
}

// Lenses and cameras: one bin per name, tallest first (equal counts by name), the empty
// name labelled; every label cut with an ellipsis to its bar pitch, counts on the axis.
TEST(ChartLayout, NamesBinnedTallestFirstWithLabelsCutToTheirPitch)
{
    const std::vector<InternedName> lenses
        = { "B 50mm", "", "A 24-70mm f/2.8 zoom", "B 50mm", "", "B 50mm", "C" };
    const ChartBins bins = BinNames(ChartNameKind::Lens, lenses);
    EXPECT_EQ(bins.names,
        (std::vector<std::string> { "B 50mm", "(no lens recorded)", "A 24-70mm f/2.8 zoom", "C" }));
    EXPECT_EQ(bins.counts, (std::vector<int> { 3, 2, 1, 1 }));
    EXPECT_EQ(BinNames(ChartNameKind::Camera, { "" }).names,
        std::vector<std::string> { "(no camera recorded)" });
    // 25 names, name k given k times: the 20 largest, then the 5 smallest as one bar of 15.
    std::vector<InternedName> many;
    for (int k = 1; k <= 25; ++k)
        many.insert(many.end(), static_cast<std::size_t>(k), InternedName("N" + std::to_string(k)));
    const ChartBins top = BinNames(ChartNameKind::Camera, many);
    ASSERT_EQ(top.names.size(), 21u);
    EXPECT_EQ(top.names[0] + " " + top.names[19] + " " + top.names[20], "N25 N6 Other (5)");
    EXPECT_EQ(top.counts[20], 15);

    // 6 pixels a character and 3 more: a plot of 160 gives slots of 40, labels of at most
    // 38 pixels; "B 50mm", at 39, is one pixel too wide.
    const ChartTextMetrics metrics { 40, 14,
        [](const QString& t) { return 6 * int(t.size()) + 3; } };
    const ChartLayout layout = LayoutChart(QRect(0, 0, 220, 120), bins, metrics);
    ASSERT_EQ(layout.bins.size(), 4u);
    const char* const labels[] = { "B 50\u2026", "(no \u2026", "A 24\u2026", "C" };
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(layout.bins[i].label.text, QString::fromUtf8(labels[i])) << i;
        EXPECT_TRUE(layout.bins[i].labelDrawn);
        EXPECT_EQ(layout.bins[i].label.box.center().x() - layout.bins[i].x,
            layout.bins[i].label.box.width() % 2 == 0 ? -1 : 0);
    }
    EXPECT_EQ(layout.grid.size(), 3u);
    EXPECT_GT(layout.bins[0].bar.height(), layout.bins[1].bar.height());
    EXPECT_EQ(ElideToWidth("abc", 2, metrics.width), QString());
}
