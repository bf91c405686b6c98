// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QBuffer>

#include <cmath>
#include <tuple>

#include "chart/ChartStatistics.h"

static std::vector<double> Repeated(std::initializer_list<std::pair<double, int>> runs)
{
    std::vector<double> values;
    for (const auto& [value, n] : runs)
        values.insert(values.end(), static_cast<std::size_t>(n), value);
    return values;
}

TEST(ChartStatistics, ThirdStopsSnapToTheSeriesAndItsEdges)
{
    const std::tuple<StopSeries, double, const char*> rows[] = {
        { StopSeries::Aperture, 0.95, "F1.0" },
        { StopSeries::Aperture, 1.0, "F1.0" },
        { StopSeries::Aperture, 1.04, "F1.0" },
        { StopSeries::Aperture, 1.05, "F1.1" },
        { StopSeries::Aperture, 1.122, "F1.1" },
        { StopSeries::Aperture, 1.19, "F1.2" },
        { StopSeries::Aperture, 7.2, "F7.1" },
        { StopSeries::Aperture, 30, "F29.0" },
        { StopSeries::Aperture, 32, "F32.0" },
        { StopSeries::Aperture, 45, "F32.0" },
        { StopSeries::Shutter, 1.0 / 16000, "1/8000" },
        { StopSeries::Shutter, 1.0 / 8000, "1/8000" },
        { StopSeries::Shutter, 1.0 / 6400, "1/6400" },
        { StopSeries::Shutter, 1.0 / 60, "1/60" },
        { StopSeries::Shutter, 0.25, "1/4" },
        { StopSeries::Shutter, 1.0 / 3, "0.3" },
        { StopSeries::Shutter, 1, "1" },
        { StopSeries::Shutter, 30, "30" },
        { StopSeries::Shutter, 120, "30" },
        { StopSeries::Iso, 25, "50" },
        { StopSeries::Iso, 50, "50" },
        { StopSeries::Iso, 111, "100" },
        { StopSeries::Iso, 112, "125" },
        { StopSeries::Iso, 102400, "102400" },
        { StopSeries::Iso, 204800, "102400" },
    };
    for (const auto& [series, value, label] : rows) {
        const int at = ThirdStopIndex(series, value);
        ASSERT_GE(at, 0) << value;
        EXPECT_EQ(ThirdStopLabels(series)[static_cast<std::size_t>(at)], label) << value;
    }
    EXPECT_EQ(ThirdStopIndex(StopSeries::Iso, 0), -1);
    EXPECT_EQ(ThirdStopIndex(StopSeries::Iso, std::nan("")), -1);
    EXPECT_EQ(ThirdStopLabels(StopSeries::Aperture).size(), 31u);
    EXPECT_EQ(ThirdStopLabels(StopSeries::Shutter).size(), 55u);
    EXPECT_EQ(ThirdStopLabels(StopSeries::Iso).size(), 34u);
}

TEST(ChartStatistics, FocalRangesAtTheirEdges)
{
    const std::pair<double, int> rows[] = { { 4.3, 0 }, { 14, 0 }, { 14.4, 0 }, { 14.5, 1 },
        { 15, 1 }, { 20, 1 }, { 21, 2 }, { 28, 2 }, { 29, 3 }, { 35, 3 }, { 36, 4 }, { 50, 4 },
        { 51, 5 }, { 70, 5 }, { 71, 6 }, { 105, 6 }, { 106, 7 }, { 135, 7 }, { 136, 8 }, { 200, 8 },
        { 201, 9 }, { 300, 9 }, { 301, 10 }, { 800, 10 }, { 0, -1 } };
    for (const auto& [mm, range] : rows)
        EXPECT_EQ(FocalRangeIndex(mm), range) << mm;
    EXPECT_STREQ(FocalRangeLabel(0), "\u2264 14");
    EXPECT_STREQ(FocalRangeLabel(6), "71-105");
    EXPECT_STREQ(FocalRangeLabel(10), "> 300");
}

TEST(ChartStatistics, PerCentsAddUpToAHundred)
{
    const std::pair<std::vector<int>, std::vector<int>> rows[] = {
        { { 1, 1, 1 }, { 334, 333, 333 } },
        { { 2, 1 }, { 667, 333 } },
        { { 1, 7 }, { 125, 875 } },
        { { 1, 0, 2, 0, 0, 0, 4 }, { 143, 0, 286, 0, 0, 0, 571 } },
        { { 0, 0 }, { 0, 0 } },
    };
    for (const auto& [counts, tenths] : rows)
        EXPECT_EQ(PerCentTenths(counts), tenths);
    EXPECT_EQ(TenthsText(667) + ' ' + TenthsText(5) + ' ' + TenthsText(1000), "66.7 0.5 100.0");
    EXPECT_EQ(GroupedCount(999) + ' ' + GroupedCount(1234) + ' ' + GroupedCount(1000000),
        "999 1,234 1,000,000");
}

TEST(ChartStatistics, CoverageOfASelectionAndOfTheCentralEightyPerCent)
{
    // 20 photos: 10 mm once, 24 mm 3 times, 35 mm 5, 50 mm 10, 200 mm once. The photos
    // ranked 3 (a 24) to 18 (a 50) are the central 80 %.
    const ChartBins each = BinValuesAs(FocalLength, true, ChartBinning::EachValue,
        Repeated({ { 50, 10 }, { 24, 3 }, { 10, 1 }, { 35, 5 }, { 200, 1 }, { 0, 4 } }));
    const std::tuple<int, int, const char*> selections[] = {
        { 3, 3, "50 mm: 10 photos, 50 % of the matches" },
        { 2, 0, "10-35 mm: 9 photos, 45 % of the matches" },
        { 4, 4, "200 mm: 1 photo, 5 % of the matches" },
        { 0, 5, "" },
    };
    for (const auto& [first, last, text] : selections)
        EXPECT_EQ(SelectionText(each, first, last), text);
    EXPECT_EQ(CentralRangeText(each),
        "80 % of the matches around the median: 24-50 mm (18 photos, 90 %)");

    // In ranges: 12 mm, 24 mm twice, 70 mm, 400 mm; eleven bins, empty ones between.
    const ChartBins ranges
        = BinValuesAs(FocalLength, true, ChartBinning::StandardRanges, { 24, 12, 400, 24, 70 });
    EXPECT_EQ(ranges.counts, (std::vector<int> { 1, 0, 2, 0, 0, 1, 0, 0, 0, 0, 1 }));
    const std::tuple<int, int, const char*> spans[] = {
        { 2, 5, "21-70 mm: 3 photos, 60 % of the matches" },
        { 0, 2, "\u2264 28 mm: 3 photos, 60 % of the matches" },
        { 10, 5, "\u2265 51 mm: 2 photos, 40 % of the matches" },
        { 10, 10, "> 300 mm: 1 photo, 20 % of the matches" },
    };
    for (const auto& [first, last, text] : spans)
        EXPECT_EQ(SelectionText(ranges, first, last), text);
    EXPECT_EQ(CentralRangeText(ranges),
        "80 % of the matches around the median: \u2264 14 to > 300 mm (5 photos, 100 %)");

    // ISO and shutter in 1/3 stops: labels of the series, units of the quantity.
    const ChartBins iso = BinValuesAs(Iso, false, ChartBinning::ThirdStop, { 100, 100, 130, 400 });
    EXPECT_EQ(
        iso.labels, (std::vector<std::string> { "100", "125", "160", "200", "250", "320", "400" }));
    EXPECT_EQ(SelectionText(iso, 0, 6), "ISO 100-400: 4 photos, 100 % of the matches");
    const ChartBins shutter
        = BinValuesAs(ShutterSpeed, false, ChartBinning::ThirdStop, { 0.004, 1.0 / 60 });
    EXPECT_EQ(BinRangeText(shutter, 0, 6), "1/250-1/60 s");
    // 1/3 stops are not offered for focal lengths: each value stays.
    EXPECT_TRUE(BinValuesAs(FocalLength, true, ChartBinning::ThirdStop, { 24, 70 }).labels.empty());
}

TEST(ChartStatistics, TenLensesThenOtherLenses)
{
    // L01 has 12 photos with a value, L02 11, ... L11 2 and L12 1; L10 ties with L11 at 2
    // and comes first by name. The unnamed lens's photos give no value.
    std::vector<InternedName> lenses;
    std::vector<double> values;
    const int counts[] = { 12, 11, 10, 9, 8, 7, 6, 5, 4, 2, 2, 1 };
    for (int i = 0; i < 12; ++i) {
        const std::string name = (i < 9 ? "L0" : "L1") + std::to_string((i + 1) % 10);
        for (int k = 0; k < counts[i]; ++k) {
            lenses.push_back(name);
            values.push_back(10 + i);
        }
    }
    lenses.push_back("");
    values.push_back(0);
    const std::vector<LensChart> charts
        = LensCharts(FocalLength, true, ChartBinning::EachValue, lenses, values);
    ASSERT_EQ(charts.size(), 11u);
    EXPECT_EQ(std::make_tuple(charts[0].title, charts[0].count), std::make_tuple("L01", 12));
    EXPECT_EQ(std::make_tuple(charts[9].title, charts[9].count), std::make_tuple("L10", 2));
    EXPECT_EQ(std::make_tuple(charts[10].title, charts[10].count, charts[10].lenses.size()),
        std::make_tuple("Other lenses", 3, std::size_t { 2 }));
    EXPECT_EQ(charts[10].bins.values, (std::vector<double> { 20, 21 }));
    EXPECT_EQ(charts[10].bins.counts, (std::vector<int> { 2, 1 }));
}

TEST(ChartStatistics, ExportBytes)
{
    const ChartBins bins
        = BinValuesAs(Aperture, false, ChartBinning::EachValue, { 4.0, 2.8, 0, 2.8 });
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(WriteStatistics(buffer, bins));
    EXPECT_EQ(buffer.data().toStdString(),
        "Bin\tCount\tPer cent\tCumulative per cent\n"
        "F2.8\t2\t66.7\t66.7\n"
        "F4.0\t1\t33.3\t100.0\n");
}
