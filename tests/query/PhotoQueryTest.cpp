// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "query/BoundSelectors.h"
#include "query/ListRow.h"
#include "query/PhotoQuery.h"

namespace {

// Leaves the catalogue as a completed scan run does: the photos in reading order, one
// spare record after them and sorted value tables. The spare record would match any query,
// so a reader that walks past recordCount shows up.
void Fill(PhotoCatalogue& c, const std::vector<ListRow>& photos)
{
    ClearRecords(c);
    ResetValueTables(c);
    c.head = std::make_unique<PhotoRecord>();
    c.recordCount = static_cast<int>(photos.size());
    PhotoRecord* r = c.head.get();
    for (const ListRow& p : photos) {
        std::tie(
            r->path, r->camera, r->fNumber, r->focalLength, r->iso, r->exposureTime, r->fileSizeMb)
            = std::tie(
                p.path, p.camera, p.fNumber, p.focalLength, p.iso, p.exposureTime, p.fileSizeMb);
        for (int k = 0; k < kQuantityCount; ++k)
            AddValue(c, static_cast<Quantity>(k), p.Value(static_cast<Quantity>(k)));
        r = (r->next = std::make_unique<PhotoRecord>()).get();
    }
    r->path = "/spare/never-listed.jpg";
    SortValueTables(c);
}

// The listed photos as the last letters of their file names ("/p/a.jpg" gives "a").
std::string Listed(const QueryResult& result)
{
    std::string names;
    for (const ListRow& row : result.rows)
        names += row.path[row.path.size() - 5];
    return names;
}

// Bounds spanning every table, with the focal texts as given.
QueryBounds FullBounds(
    const PhotoCatalogue& catalogue, std::string focalLower, std::string focalUpper)
{
    const BoundSelectors s = FillBoundSelectors(catalogue);
    return { s.aperture.lowerIndex, s.aperture.upperIndex, s.iso.lowerIndex, s.iso.upperIndex,
        s.shutterSpeed.lowerIndex, s.shutterSpeed.upperIndex, std::move(focalLower),
        std::move(focalUpper) };
}

} // namespace

TEST(BoundSelectors, TextsInTableOrderWithFullRangeSelected)
{
    PhotoCatalogue catalogue;
    auto describe = [&catalogue]() { // each list's texts and selection, then the focal fill
        const BoundSelectors s = FillBoundSelectors(catalogue);
        std::string text;
        for (const SelectorFill* fill : { &s.aperture, &s.iso, &s.shutterSpeed }) {
            for (const std::string& entry : fill->texts)
                text += entry + ",";
            text
                += std::to_string(fill->lowerIndex) + ".." + std::to_string(fill->upperIndex) + " ";
        }
        return text + s.focal.lowerText + ".." + s.focal.upperText + " "
            + std::to_string(s.focal.rangeLow) + ".." + std::to_string(s.focal.rangeHigh)
            + (s.queryEnabled ? " on" : " off");
    };
    Fill(catalogue,
        { { "/p/a.jpg", "C", 5.6, 54.4, 800, 13 }, { "/p/b.jpg", "C", 2.8, 17.5, 100, 0.004 },
            { "/p/c.jpg", "C", 2.8, 35, 200, 0.5 }, { "/p/d.jpg", "C", 11, 35, 200, 1 },
            { "/p/e.jpg", "C", 0, 0, 0, 2.5 } });
    // Every time of 1 s or more without decimals (2.5 s rounds to even); the focal texts
    // widened to whole millimetres so that the full range lists all.
    EXPECT_EQ(
        describe(), "F2.8,F5.6,F11.0,0..2 100,200,800,0..2 1/250,1/2,1,2,13,0..4 17..55 17..55 on");
    const QueryResult all = RunQuery(catalogue, FullBounds(catalogue, "17", "55"));
    EXPECT_EQ(Listed(all), "abcde");
    EXPECT_EQ(all.countText, "5/5");
    // Empty tables: nothing selected, and a quantity without entries restricts nothing.
    Fill(catalogue, { { "/p/z.jpg", "", 0, 0, 0, 0, 0.1 } });
    EXPECT_EQ(describe(), "-1..-1 -1..-1 -1..-1 0..0 0..0 on");
    EXPECT_EQ(RunQuery(catalogue, FullBounds(catalogue, "0", "0")).countText, "1/1");
    // No photos: the query is disabled and lists nothing.
    Fill(catalogue, {});
    EXPECT_EQ(describe(), "-1..-1 -1..-1 -1..-1 0..0 0..0 off");
    const QueryResult none = RunQuery(catalogue, FullBounds(catalogue, "0", "0"));
    EXPECT_TRUE(none.rows.empty());
    EXPECT_EQ(none.countText, "0/0");
}

// Photos 0..3 hold aperture 2.8 / 4 / 5.6 / 0, ISO 100 / 200 / 400 / 0, exposure
// 1/250 / 1/60 / 1 / 0 and focal length 18 / 35 / 55 / 0: entries 0..2 of each table.
TEST(PhotoQuery, BoundsAreInclusiveAndZeroAlwaysPasses)
{
    PhotoCatalogue catalogue;
    Fill(catalogue,
        { { "/p/0.jpg", "C", 2.8, 18, 100, 0.004 }, { "/p/1.jpg", "Cam", 4, 35, 200, 1. / 60, 3.2 },
            { "/p/2.jpg", "C", 5.6, 55, 400, 1 }, { "/p/3.jpg", "C", 0, 0, 0, 0 } });
    const std::tuple<int, int, const char*> listCases[] = { // selection indices, listed
        { 1, 1, "13" }, { 1, 2, "123" }, { 0, 1, "013" }, { 2, 0, "3" }, { -1, -1, "0123" },
        { 0, 7, "0123" }
    };
    const std::pair<int QueryBounds::*, int QueryBounds::*> selectors[]
        = { { &QueryBounds::apertureLower, &QueryBounds::apertureUpper },
              { &QueryBounds::isoLower, &QueryBounds::isoUpper },
              { &QueryBounds::shutterLower, &QueryBounds::shutterUpper } };
    for (const auto& [lowerField, upperField] : selectors) {
        for (const auto& [lower, upper, listed] : listCases) {
            QueryBounds b = FullBounds(catalogue, "0", "100");
            b.*lowerField = lower;
            b.*upperField = upper;
            EXPECT_EQ(Listed(RunQuery(catalogue, b)), listed) << lower << ".." << upper;
        }
    }
    const char* const focalCases[][3] = { // lower text, upper text, listed
        { "35", "55", "123" }, { "35.0001", "54.9999", "3" }, { "55", "18", "3" },
        { "", "abc", "3" }, { "18mm", " 35 mm", "013" }, { "0", "", "3" }, { "17.5", "35.5", "013" }
    };
    for (const auto& c : focalCases) {
        EXPECT_EQ(Listed(RunQuery(catalogue, FullBounds(catalogue, c[0], c[1]))), c[2])
            << c[0] << ".." << c[1];
    }
    EXPECT_EQ(RunQuery(catalogue, FullBounds(catalogue, "55", "18")).countText, "1/4");

    // The rows are copies that outlive the catalogue.
    const QueryResult result = RunQuery(catalogue, FullBounds(catalogue, "0", "100"));
    Fill(catalogue, { { "/q/n.jpg", "Other", 8, 24, 100, 1, 1 } });
    ASSERT_EQ(result.rows.size(), 4u);
    const ListRow& kept = result.rows[1];
    EXPECT_EQ(std::make_tuple(kept.path, kept.camera, kept.Value(FileSize)),
        std::make_tuple("/p/1.jpg", "Cam", 3.2));
}

TEST(ListRow, CellTexts)
{
    const std::pair<ListRow, std::vector<std::string>> cases[] = {
        { { "/photos/2024/IMG_0001.JPG", "Canon EOS 5D", 2.8, 6.3, 200, 0.004 },
            { "IMG_0001.JPG", "Canon EOS 5D", "F2.8", "6.3", "200", "1/250" } },
        { { "no-slash.jpg", "", 0, 50, 0, 0.5 },
            { "no-slash.jpg", "", "F0.0", "50", "n/a", "1/2" } },
        { { "/d/x.jpg", "C", 11, 0, 0.5, 1 }, { "x.jpg", "C", "F11.0", "0.0", "n/a", "1.0" } },
        { { "/d/y.jpg", "C", 4, 10, 1, 13 }, { "y.jpg", "C", "F4.0", "10", "1", "13" } },
        { { "/d/z.jpg", "C", 4, 10, 1, 0 }, { "z.jpg", "C", "F4.0", "10", "1", "n/a" } },
        { { "/d/back\\slash.jpg", "C", 4, 10, 1, 2.5 },
            { "back\\slash.jpg", "C", "F4.0", "10", "1", "2.5" } },
    };
    for (const auto& [row, texts] : cases) {
        for (int column = 0; column < kResultColumnCount; ++column)
            EXPECT_EQ(CellText(row, column), texts[std::size_t(column)])
                << row.path << ' ' << column;
    }
}
