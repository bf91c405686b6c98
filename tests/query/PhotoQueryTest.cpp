// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "query/BoundSelectors.h"
#include "query/ListRow.h"
#include "query/PhotoQuery.h"
#include "tests/query/CatalogueBuilder.h"

namespace {

std::vector<std::string> Paths(const QueryResult& result)
{
    std::vector<std::string> paths;
    for (const ListRow& row : result.rows)
        paths.push_back(row.path);
    return paths;
}

// Bounds spanning every table, with the focal texts as given.
QueryBounds FullBounds(const PhotoCatalogue& catalogue, std::string focalLower,
                       std::string focalUpper)
{
    const BoundSelectors s = FillBoundSelectors(catalogue);
    QueryBounds b;
    b.apertureLower = s.aperture.lowerIndex;
    b.apertureUpper = s.aperture.upperIndex;
    b.isoLower = s.iso.lowerIndex;
    b.isoUpper = s.iso.upperIndex;
    b.shutterLower = s.shutterSpeed.lowerIndex;
    b.shutterUpper = s.shutterSpeed.upperIndex;
    b.focalLowerText = std::move(focalLower);
    b.focalUpperText = std::move(focalUpper);
    return b;
}

} // namespace

TEST(BoundSelectors, TextsInTableOrderWithFullRangeSelected)
{
    PhotoCatalogue catalogue;
    CatalogueBuilder(catalogue)
        .Add({"/p/a.jpg", "C", 5.6, 54.4, 800, 13, 1})
        .Add({"/p/b.jpg", "C", 2.8, 17.5, 100, 0.004, 1})
        .Add({"/p/c.jpg", "C", 2.8, 35, 200, 0.5, 1})
        .Add({"/p/d.jpg", "C", 11, 35, 200, 1, 1})
        .Add({"/p/e.jpg", "C", 0, 0, 0, 2.5, 1})
        .Complete();

    const BoundSelectors s = FillBoundSelectors(catalogue);
    EXPECT_EQ(s.aperture.texts, (std::vector<std::string>{"F2.8", "F5.6", "F11.0"}));
    EXPECT_EQ(s.iso.texts, (std::vector<std::string>{"100", "200", "800"}));
    // The lists write every time of 1 s or more without decimals (2.5 s rounds to even).
    EXPECT_EQ(s.shutterSpeed.texts,
              (std::vector<std::string>{"1/250", "1/2", "1", "2", "13"}));
    EXPECT_EQ(s.aperture.lowerIndex, 0);
    EXPECT_EQ(s.aperture.upperIndex, 2);
    EXPECT_EQ(s.shutterSpeed.upperIndex, 4);
    // The focal texts are widened to whole millimetres so that the full range lists all.
    EXPECT_EQ(s.focal.lowerText, "17");
    EXPECT_EQ(s.focal.upperText, "55");
    EXPECT_EQ(s.focal.rangeLow, 17);
    EXPECT_EQ(s.focal.rangeHigh, 55);
    EXPECT_TRUE(s.queryEnabled);

    const QueryResult all = RunQuery(catalogue, FullBounds(catalogue, "17", "55"));
    EXPECT_EQ(Paths(all), (std::vector<std::string>{"/p/a.jpg", "/p/b.jpg", "/p/c.jpg",
                                                    "/p/d.jpg", "/p/e.jpg"}));
    EXPECT_EQ(all.countText, "5/5");
}

TEST(BoundSelectors, EmptyTablesAndEmptyCatalogue)
{
    PhotoCatalogue catalogue;
    CatalogueBuilder(catalogue).Add({"/p/bare.jpg", "", 0, 0, 0, 0, 0.1}).Complete();
    BoundSelectors s = FillBoundSelectors(catalogue);
    EXPECT_TRUE(s.iso.texts.empty());
    EXPECT_EQ(s.iso.lowerIndex, -1);
    EXPECT_EQ(s.iso.upperIndex, -1);
    EXPECT_EQ(s.focal.lowerText, "0");
    EXPECT_EQ(s.focal.upperText, "0");
    EXPECT_EQ(s.focal.rangeLow, 0);
    EXPECT_EQ(s.focal.rangeHigh, 0);
    EXPECT_TRUE(s.queryEnabled);
    // A quantity without table entries restricts nothing.
    EXPECT_EQ(RunQuery(catalogue, FullBounds(catalogue, "0", "0")).countText, "1/1");

    CatalogueBuilder(catalogue).Complete();
    s = FillBoundSelectors(catalogue);
    EXPECT_FALSE(s.queryEnabled);
    const QueryResult none = RunQuery(catalogue, FullBounds(catalogue, "0", "0"));
    EXPECT_TRUE(none.rows.empty());
    EXPECT_EQ(none.countText, "0/0");
}

// Photos 0..3 hold aperture 2.8 / 4 / 5.6 / 0, ISO 100 / 200 / 400 / 0, exposure
// 1/250 / 1/60 / 1 / 0 and focal length 18 / 35 / 55 / 0: entries 0..2 of each table.
TEST(PhotoQuery, BoundsAreInclusiveAndZeroAlwaysPasses)
{
    PhotoCatalogue catalogue;
    CatalogueBuilder(catalogue)
        .Add({"/p/0.jpg", "C", 2.8, 18, 100, 0.004, 1})
        .Add({"/p/1.jpg", "C", 4, 35, 200, 1.0 / 60, 1})
        .Add({"/p/2.jpg", "C", 5.6, 55, 400, 1, 1})
        .Add({"/p/3.jpg", "C", 0, 0, 0, 0, 1})
        .Complete();

    struct Case {
        const char* name;
        int lower, upper; // selection indices for the list quantity under test
        std::string focalLower, focalUpper;
        std::vector<std::string> expected;
    };
    const std::vector<Case> listCases = {
        {"exact single entry", 1, 1, "0", "100", {"/p/1.jpg", "/p/3.jpg"}},
        {"lower edge", 1, 2, "0", "100", {"/p/1.jpg", "/p/2.jpg", "/p/3.jpg"}},
        {"upper edge", 0, 1, "0", "100", {"/p/0.jpg", "/p/1.jpg", "/p/3.jpg"}},
        {"lower above upper", 2, 0, "0", "100", {"/p/3.jpg"}},
        {"no selection", -1, -1, "0", "100",
         {"/p/0.jpg", "/p/1.jpg", "/p/2.jpg", "/p/3.jpg"}},
        {"index past the table", 0, 7, "0", "100",
         {"/p/0.jpg", "/p/1.jpg", "/p/2.jpg", "/p/3.jpg"}},
    };
    for (const Quantity q : {Aperture, Iso, ShutterSpeed}) {
        for (const Case& c : listCases) {
            QueryBounds b = FullBounds(catalogue, c.focalLower, c.focalUpper);
            int* lower = q == Aperture ? &b.apertureLower : q == Iso ? &b.isoLower
                                                                     : &b.shutterLower;
            int* upper = q == Aperture ? &b.apertureUpper : q == Iso ? &b.isoUpper
                                                                     : &b.shutterUpper;
            *lower = c.lower;
            *upper = c.upper;
            EXPECT_EQ(Paths(RunQuery(catalogue, b)), c.expected)
                << "quantity " << q << ": " << c.name;
        }
    }

    const std::vector<Case> focalCases = {
        {"exact edges", 0, 0, "35", "55", {"/p/1.jpg", "/p/2.jpg", "/p/3.jpg"}},
        {"just inside misses", 0, 0, "35.0001", "54.9999", {"/p/3.jpg"}},
        {"lower above upper", 0, 0, "55", "18", {"/p/3.jpg"}},
        {"trailing letters ignored", 0, 0, "18mm", " 35 mm", {"/p/0.jpg", "/p/1.jpg", "/p/3.jpg"}},
        {"letters only count as 0", 0, 0, "", "abc", {"/p/3.jpg"}},
        {"empty upper text", 0, 0, "0", "", {"/p/3.jpg"}},
        {"decimal point in any locale", 0, 0, "17.5", "35.5", {"/p/0.jpg", "/p/1.jpg", "/p/3.jpg"}},
    };
    for (const Case& c : focalCases) {
        EXPECT_EQ(Paths(RunQuery(catalogue, FullBounds(catalogue, c.focalLower, c.focalUpper))),
                  c.expected)
            << c.name;
    }
    EXPECT_EQ(RunQuery(catalogue, FullBounds(catalogue, "55", "18")).countText, "1/4");
}

TEST(PhotoQuery, RowsAreCopiesThatOutliveTheCatalogue)
{
    PhotoCatalogue catalogue;
    CatalogueBuilder(catalogue).Add({"/p/kept.jpg", "Cam X", 2.8, 50, 200, 0.01, 3.2}).Complete();
    QueryResult result = RunQuery(catalogue, FullBounds(catalogue, "0", "100"));
    ClearRecords(catalogue);
    CatalogueBuilder(catalogue).Add({"/q/new.jpg", "Other", 8, 24, 100, 1, 1}).Complete();
    ASSERT_EQ(result.rows.size(), 1u);
    EXPECT_EQ(result.rows[0].path, "/p/kept.jpg");
    EXPECT_EQ(result.rows[0].camera, "Cam X");
    EXPECT_EQ(result.rows[0].Value(FileSize), 3.2);
}

TEST(ListRow, CellTexts)
{
    struct Case {
        ListRow row;
        std::vector<std::string> texts;
    };
    const std::vector<Case> cases = {
        {{"/photos/2024/IMG_0001.JPG", "Canon EOS 5D", 2.8, 6.3, 200, 0.004, 0},
         {"IMG_0001.JPG", "Canon EOS 5D", "F2.8", "6.3", "200", "1/250"}},
        {{"no-slash.jpg", "", 0, 50, 0, 0.5, 0}, {"no-slash.jpg", "", "F0.0", "50", "n/a", "1/2"}},
        {{"/d/x.jpg", "C", 11, 0, 0.5, 1, 0}, {"x.jpg", "C", "F11.0", "0.0", "n/a", "1.0"}},
        {{"/d/y.jpg", "C", 4, 10, 1, 13, 0}, {"y.jpg", "C", "F4.0", "10", "1", "13"}},
        {{"/d/z.jpg", "C", 4, 10, 1, 0, 0}, {"z.jpg", "C", "F4.0", "10", "1", "n/a"}},
        {{"/d/back\\slash.jpg", "C", 4, 10, 1, 2.5, 0},
         {"back\\slash.jpg", "C", "F4.0", "10", "1", "2.5"}},
    };
    for (const Case& c : cases) {
        for (int column = 0; column < kResultColumnCount; ++column)
            EXPECT_EQ(CellText(c.row, column), c.texts[static_cast<std::size_t>(column)])
                << c.row.path << " column " << column;
    }
}
