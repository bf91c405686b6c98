// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "query/ListSort.h"

namespace {

// Texts over a tiny alphabet with a shared prefix, so that long ties, prefixes of one
// another, NUL and bytes of 0x80 and above all occur.
std::string RandomText(std::mt19937& random, const std::string& prefix)
{
    static const char alphabet[] = {'a', 'B', '\x00', '\x7f', '\x80', '\xff'};
    std::string text = prefix;
    const int length = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < length; ++i)
        text += alphabet[std::uniform_int_distribution<int>(0, 5)(random)];
    return text;
}

} // namespace

// The fast sort must give exactly the order of a stable sort by CompareListRows.
TEST(ListSort, SortOrderAgreesWithCompareListRowsInBothDirections)
{
    std::mt19937 random(20240601);
    for (const std::string prefix : {"", "/home/photos/2024/IMG_"}) {
        std::vector<ListRow> rows(600);
        for (ListRow& row : rows) {
            row.path = RandomText(random, prefix);
            row.camera = RandomText(random, "");
            const double values[] = {0, -0.0, 2.8, 4, 1.0 / 60, 1e-9, NAN, 1e300};
            row.fNumber = values[std::uniform_int_distribution<int>(0, 7)(random)];
            row.focalLength = values[std::uniform_int_distribution<int>(0, 7)(random)];
            row.iso = values[std::uniform_int_distribution<int>(0, 7)(random)];
            row.exposureTime = values[std::uniform_int_distribution<int>(0, 7)(random)];
        }
        for (int column = 0; column < kResultColumnCount; ++column) {
            for (const std::int32_t direction : {1, -1}) {
                g_sortDirection[column] = direction;
                std::vector<int> expected(rows.size());
                std::iota(expected.begin(), expected.end(), 0);
                std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                    return CompareListRows(rows[static_cast<std::size_t>(a)],
                                           rows[static_cast<std::size_t>(b)], column) < 0;
                });
                EXPECT_EQ(SortOrder(rows, column), expected)
                    << "prefix '" << prefix << "' column " << column << " direction "
                    << direction;
            }
        }
    }
    ResetSortDirections();
}
