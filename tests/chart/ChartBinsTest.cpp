// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "chart/ChartBins.h"

namespace {

TEST(ChartBins, DistinctValuesAscendingWithCounts)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Row {
        const char* name;
        std::vector<double> values;
        std::vector<double> bins;
        std::vector<int> counts;
    };
    const Row rows[] = {
        { "three photos", { 2.8, 4.0, 2.8 }, { 2.8, 4.0 }, { 2, 1 } },
        { "no rows", {}, {}, {} },
        { "by value, not row or count", { 50, 18, 200, 18, 50, 18 }, { 18, 50, 200 }, { 3, 2, 1 } },
        { "missing and negative left out", { 0, 400, -100, 0, 400 }, { 400 }, { 2 } },
        { "nothing positive", { 0, 0, -1 }, {}, {} },
        { "not-a-number and infinities left out", { nan, inf, 100, -inf, nan }, { 100 }, { 1 } },
        { "equality is exact", { 0.1 + 0.2, 0.3, 0.3 }, { 0.3, 0.1 + 0.2 }, { 2, 1 } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ChartBins bins = BinValues(Iso, row.values);
        EXPECT_EQ(bins.quantity, Iso);
        EXPECT_EQ(bins.values, row.bins);
        EXPECT_EQ(bins.counts, row.counts);
    }

    // More distinct values than a fixed table of 200 would hold, each twice, falling.
    std::vector<double> many;
    for (int i = 1000; i >= 1; --i)
        many.insert(many.end(), 2, i / 10.0);
    const ChartBins bins = BinValues(FileSize, many);
    ASSERT_EQ(bins.values.size(), 1000u);
    EXPECT_TRUE(std::is_sorted(bins.values.begin(), bins.values.end()));
    EXPECT_EQ(bins.values.front(), 0.1);
    EXPECT_EQ(bins.counts, std::vector<int>(1000, 2));
}

} // namespace
