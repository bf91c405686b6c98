// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "query/ListSort.h"

// The fast sort must give exactly the order of a stable sort by CompareListRows. The texts
// use a tiny alphabet after a shared prefix, so that long ties, prefixes of one another,
// NUL and bytes of 0x80 and above all occur.
TEST(ListSort, SortOrderAgreesWithCompareListRowsInBothDirections)
{
    std::mt19937 random(20240601);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto text = [&](std::string t) {
        for (int length = pick(13); length > 0; --length)
            t += "aB\0\x7f\x80\xff"[pick(6)];
        return t;
    };
    const double values[] = { 0, -0.0, 2.8, 4, 1.0 / 60, 1e-9, NAN, 1e300 };
    for (const std::string prefix : { "", "/home/photos/2024/IMG_" }) {
        std::vector<ListRow> rows(600);
        for (ListRow& row : rows)
            row = { text(prefix), text(""), values[pick(8)], values[pick(8)], values[pick(8)],
                values[pick(8)] };
        for (int column = 0; column < kResultColumnCount; ++column) {
            for (const std::int32_t direction : { 1, -1 }) {
                g_sortDirection[column] = direction;
                std::vector<int> expected(rows.size());
                std::iota(expected.begin(), expected.end(), 0);
                std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                    return CompareListRows(rows[std::size_t(a)], rows[std::size_t(b)], column) < 0;
                });
                EXPECT_EQ(SortOrder(rows, column), expected) << prefix << column << direction;
            }
        }
    }
    ResetSortDirections();
}
