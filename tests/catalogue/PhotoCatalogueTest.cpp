// SPDX-License-Identifier: MIT
#include "catalogue/PhotoCatalogue.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <vector>

namespace {

std::vector<double> Table(const PhotoCatalogue& c, Quantity k)
{
    return std::vector<double>(c.values[k], c.values[k] + c.valueCounts[k]);
}

} // namespace

TEST(ValueTable, TakesDistinctValuesAboveTheLimit)
{
    PhotoCatalogue c;
    const double rows[] = {0, 1e-8, -3, std::numeric_limits<double>::quiet_NaN(),
        std::nextafter(1e-8, 1.0), 50.0 / 1, 500.0 / 10, 2.8, 50, 2.8};
    for (double v : rows)
        AddValue(c, FocalLength, v);
    EXPECT_EQ(Table(c, FocalLength), (std::vector<double>{std::nextafter(1e-8, 1.0), 50, 2.8}));
    EXPECT_EQ(c.valueCounts[Aperture], 0);

    SortValueTables(c);
    EXPECT_EQ(Table(c, FocalLength), (std::vector<double>{std::nextafter(1e-8, 1.0), 2.8, 50}));
    ResetValueTables(c);
    EXPECT_EQ(c.valueCounts[FocalLength], 0);
    EXPECT_EQ(c.values[FocalLength][1], 0.0);
}

TEST(ValueTable, FullTableKeepsItsExtremes)
{
    PhotoCatalogue c;
    std::vector<double> values(kValueTableSize);
    std::iota(values.begin(), values.end(), 1.0); // 1 .. 200
    std::reverse(values.begin(), values.begin() + 100);
    for (double v : values)
        AddValue(c, Iso, v);
    ASSERT_EQ(c.valueCounts[Iso], kValueTableSize);

    AddValue(c, Iso, 150.5); // inside the range: left out
    AddValue(c, Iso, 0.5);   // replaces 1
    AddValue(c, Iso, 300);   // replaces 200
    AddValue(c, Iso, 0.25);  // replaces 0.5, the smallest by now
    AddValue(c, Iso, 0.75);  // above the smallest: left out
    AddValue(c, Iso, 300);   // already there
    EXPECT_EQ(c.valueCounts[Iso], kValueTableSize);
    SortValueTables(c);
    const std::vector<double> table = Table(c, Iso);
    EXPECT_EQ(table.front(), 0.25);
    EXPECT_EQ(table[1], 2);
    EXPECT_EQ(table[kValueTableSize - 2], 199);
    EXPECT_EQ(table.back(), 300);
    EXPECT_TRUE(std::adjacent_find(table.begin(), table.end(), std::greater_equal<double>()) == table.end());
}

TEST(ValueTable, CompareValuesOrdersAscending)
{
    const double rows[][3] = {{1, 2, -1}, {2, 1, 1}, {2, 2, 0}, {-0.0, 0.0, 0}};
    for (const auto& row : rows)
        EXPECT_EQ(CompareValues(&row[0], &row[1]), row[2]);
}

TEST(PhotoRecords, LongListsAreReleasedWithoutDeepRecursion)
{
    constexpr int kRecords = 1000000;
    PhotoCatalogue c;
    for (int pass = 0; pass < 2; ++pass) {
        c.head = std::make_unique<PhotoRecord>();
        PhotoRecord* last = c.head.get();
        for (int i = 1; i < kRecords; ++i) {
            last->next = std::make_unique<PhotoRecord>();
            last = last->next.get();
        }
        c.recordCount = kRecords - 1;
        c.spare = last;
        if (pass == 0) {
            FreeRecords(c.head);
            EXPECT_EQ(c.head, nullptr);
        } else {
            ClearRecords(c);
            EXPECT_EQ(c.head, nullptr);
            EXPECT_EQ(c.spare, nullptr);
            EXPECT_EQ(c.recordCount, 0);
        }
    }
    // The list owned by a record goes with it, however long.
    auto first = std::make_unique<PhotoRecord>();
    PhotoRecord* last = first.get();
    for (int i = 1; i < kRecords; ++i) {
        last->next = std::make_unique<PhotoRecord>();
        last = last->next.get();
    }
    first.reset();
    FreeRecords(first); // null does nothing
}
