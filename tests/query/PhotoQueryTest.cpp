// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "catalogue/QuantityText.h"
#include "query/BoundSelectors.h"
#include "query/ListSort.h"
#include "query/PhotoQuery.h"
#include "tests/support/TestRow.h"

// Leaves the catalogue as a completed scan run does, with sorted value tables and a spare
// record after the photos that would match any query, so that reading past it shows.
static void Fill(PhotoCatalogue& c, const std::vector<PhotoFields>& photos)
{
    ClearRecords(c);
    ResetValueTables(c);
    c.head = std::make_unique<PhotoRecord>();
    c.recordCount = static_cast<int>(photos.size());
    PhotoRecord* r = c.head.get();
    for (const PhotoFields& p : photos) {
        static_cast<PhotoFields&>(*r) = p;
        for (int k = 0; k < kQuantityCount; ++k)
            AddValue(
                c, static_cast<Quantity>(k), QuantityValue(p, static_cast<Quantity>(k), false));
        r = (r->next = std::make_unique<PhotoRecord>()).get();
    }
    r->path = "/spare/never-listed.jpg";
    SortValueTables(c);
}

// The bounds of the window's own controls: list indices, then the focal texts.
static QueryBounds Bounds(int apertureLower, int apertureUpper, int isoLower, int isoUpper,
    int shutterLower, int shutterUpper, std::string focalLower, std::string focalUpper)
{
    QueryBounds b;
    b[Aperture] = ListSelection(apertureLower, apertureUpper);
    b[Iso] = ListSelection(isoLower, isoUpper);
    b[ShutterSpeed] = ListSelection(shutterLower, shutterUpper);
    b[FocalLength] = TextBounds(std::move(focalLower), std::move(focalUpper));
    return b;
}

// The listed photos as the last letters of their file names ("/p/a.jpg" gives "a").
static std::string Listed(const QueryResult& result)
{
    std::string names;
    for (const ListRow& row : result.rows)
        names += row.path[row.path.size() - 5];
    return names;
}

// The selectors of a filled catalogue, one whose tables are all empty and an empty one:
// each list's texts and selection, then the focal texts and range.
TEST(PhotoQuery, SelectorsInTableOrderInclusiveBoundsWhereZeroPassesAndTheFastSort)
{
    PhotoCatalogue catalogue;
    auto describe = [&catalogue]() {
        const BoundSelectors s = FillBoundSelectors(catalogue);
        std::string text;
        for (const SelectorFill* f :
            { &s.lists[Aperture], &s.lists[Iso], &s.lists[ShutterSpeed] }) {
            for (const std::string& entry : f->texts)
                text += entry + ",";
            text += std::to_string(f->lowerIndex) + ".." + std::to_string(f->upperIndex) + " ";
        }
        const WholeNumberFill& focal = s.texts[FocalLength];
        return text + focal.lowerText + ".." + focal.upperText + " "
            + std::to_string(focal.rangeLow) + ".." + std::to_string(focal.rangeHigh)
            + (s.queryEnabled ? " on" : " off");
    };
    Fill(catalogue,
        { TestPhoto("/p/a.jpg", "C", 5.6, 54.4, 800, 13),
            TestPhoto("/p/b.jpg", "C", 2.8, 17.5, 100, 0.004),
            TestPhoto("/p/c.jpg", "C", 2.8, 35, 200, 0.5),
            TestPhoto("/p/d.jpg", "C", 11, 35, 200, 1), TestPhoto("/p/e.jpg", "C", 0, 0, 0, 2.5) });
    // Every time of 1 s or more without decimals (2.5 s rounds to even); the focal texts
    // widened to whole millimetres so that the full range lists all.
    EXPECT_EQ(
        describe(), "F2.8,F5.6,F11.0,0..2 100,200,800,0..2 1/250,1/2,1,2,13,0..4 17..55 17..55 on");
    EXPECT_EQ(Listed(RunQuery(catalogue, Bounds(0, 2, 0, 2, 0, 4, "17", "55"))), "abcde");
    // A quantity without table entries restricts nothing.
    Fill(catalogue, { TestPhoto("/p/z.jpg", "", 0, 0, 0, 0) });
    EXPECT_EQ(describe(), "-1..-1 -1..-1 -1..-1 0..0 0..0 on");
    EXPECT_EQ(RunQuery(catalogue, Bounds(-1, -1, -1, -1, -1, -1, "0", "0")).countText, "1/1");
    Fill(catalogue, {});
    EXPECT_EQ(describe(), "-1..-1 -1..-1 -1..-1 0..0 0..0 off");

    // Queries: photos 0..3 hold aperture 2.8 / 4 / 5.6 / 0, ISO 100 / 200 / 400 / 0, exposure
    // 1/250 / 1/60 / 1 / 0 and focal length 18 / 35 / 55 / 0: entries 0..2 of each table.
    // Bounds are inclusive and zero always passes.
    Fill(catalogue,
        { TestPhoto("/p/0.jpg", "C", 2.8, 18, 100, 0.004),
            TestPhoto("/p/1.jpg", "C", 4, 35, 200, 1. / 60),
            TestPhoto("/p/2.jpg", "C", 5.6, 55, 400, 1), TestPhoto("/p/3.jpg", "C", 0, 0, 0, 0) });
    // The bounds, the photos listed (lower above upper: only the one without a focal length).
    const std::pair<QueryBounds, const char*> cases[] = { { Bounds(1, 1, 0, 2, 0, 2, "0", "99"),
                                                              "13" },
        { Bounds(1, 2, 0, 2, 0, 2, "0", "99"), "123" },
        { Bounds(2, 0, 0, 2, 0, 2, "0", "99"), "3" },
        { Bounds(-1, -1, -1, -1, -1, -1, "0", "99"), "0123" },
        { Bounds(0, 7, 0, 7, 0, 7, "0", "99"), "0123" },
        { Bounds(0, 2, 1, 1, 0, 2, "0", "99"), "13" }, { Bounds(0, 2, 2, 0, 0, 2, "0", "99"), "3" },
        { Bounds(0, 2, 0, 2, 0, 1, "0", "99"), "013" },
        { Bounds(0, 2, 0, 2, 2, 0, "0", "99"), "3" },
        { Bounds(0, 2, 0, 2, 0, 2, "35", "55"), "123" },
        { Bounds(0, 2, 0, 2, 0, 2, "35.0001", "54.9999"), "3" },
        { Bounds(0, 2, 0, 2, 0, 2, "", "abc"), "3" },
        { Bounds(0, 2, 0, 2, 0, 2, "18mm", " 35 mm"), "013" },
        { Bounds(0, 2, 0, 2, 0, 2, "17.5", "35.5"), "013" },
        { Bounds(0, 2, 0, 2, 0, 2, "55", "18"), "3" } };
    for (const auto& [b, listed] : cases)
        EXPECT_EQ(Listed(RunQuery(catalogue, b)), listed) << "listing " << listed;

    // The fast sort must give exactly the order of a stable sort by CompareListRows. The texts
    // use a tiny alphabet after a shared prefix, so that long ties, prefixes of one another,
    // NUL and bytes of 0x80 and above all occur.
    auto text = [](std::string t, unsigned seed) {
        for (unsigned length = seed % 13; length > 0; --length, seed = seed * 7 + 3)
            t += "aB\0\x7f\x80\xff"[seed % 6];
        return t;
    };
    const double values[] = { 0, -0.0, 2.8, 4, 1.0 / 60, 1e-9, NAN, 1e300 };
    std::vector<ListRow> rows;
    for (unsigned i = 0; i < 400; ++i)
        rows.emplace_back(
            TestPhoto(text(i % 2 ? "" : "/home/photos/2024/IMG_", i * 11), text("", i * 5),
                values[i % 8], values[i * 3 % 8], values[i / 8 % 8], values[i / 3 % 8]));
    for (int column = 0; column < kResultColumnCount; ++column)
        for (const std::int32_t direction : { 1, -1 }) {
            std::vector<int> expected(rows.size());
            std::iota(expected.begin(), expected.end(), 0);
            std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                return CompareListRows(
                           rows[std::size_t(a)], rows[std::size_t(b)], column, direction)
                    < 0;
            });
            EXPECT_EQ(SortOrder(rows, column, direction), expected) << column << direction;
        }
}

// The panel's filters on six photos: Canon a, b, c; Nikon d, e; f without a camera. c and
// f lack aperture, focal length, ISO and exposure; c also lacks a lens and a date.
TEST(PhotoQuery, PanelFiltersTheWithoutAValueRuleAndFacetedCounts)
{
    PhotoCatalogue catalogue;
    Fill(catalogue,
        { TestPhoto("/p/a.jpg", "Canon", 1.8, 50, 100, 0.01, "L50", 20240101100000),
            TestPhoto("/p/b.jpg", "Canon", 2.8, 50, 800, 1. / 60, "L50", 20240102100000),
            TestPhoto("/p/c.jpg", "Canon", 0, 0, 0, 0, "", 0),
            TestPhoto("/p/d.jpg", "Nikon", 1.8, 24, 1600, 1. / 30, "Z24", 20240103100000),
            TestPhoto("/p/e.jpg", "Nikon", 4, 105, 200, 1. / 500, "L50", 20240105235959),
            TestPhoto("/p/f.jpg", "", 0, 0, 0, 0, "", 20240104000000) });
    const PanelFill fill = FillPanel(catalogue);
    std::string lines;
    for (const auto* list : { &fill.cameras, &fill.lenses })
        for (const NameLine& line : *list)
            lines += line.name.str() + "=" + std::to_string(line.count) + " ";
    EXPECT_EQ(lines, "Canon=3 Nikon=2 =1 L50=3 Z24=1 =2 ");
    EXPECT_EQ(std::make_pair(fill.firstDay, fill.lastDay), std::make_pair(20240101, 20240105));
    EXPECT_EQ(LensLineText(fill.lenses[2].name), "(no lens recorded)");
    EXPECT_EQ(CameraLineText(fill.cameras[2].name), "(no camera recorded)");

    struct Case {
        QueryBounds bounds;
        std::vector<bool> cameras; // Canon, Nikon, none
        std::vector<bool> lenses; // L50, Z24, none
        int fromDay, toDay;
        bool withoutValuePasses;
        const char* expected; // listed, then camera counts, then lens counts
    };
    // All, aperture F1.8 only, ISO 800 and up, focal lengths 50 mm and up.
    const QueryBounds all = Bounds(0, 2, 0, 3, 0, 3, "24", "105"),
                      f18 = Bounds(0, 0, 0, 3, 0, 3, "24", "105"),
                      iso800 = Bounds(0, 2, 2, 3, 0, 3, "24", "105"),
                      from50 = Bounds(0, 2, 0, 3, 0, 3, "50", "105");
    const std::vector<bool> every { true, true, true };
    const Case cases[] = {
        { all, every, every, 20240101, 20240105, true, "abcdef 3,2,1 3,1,2" },
        { all, every, every, 20240101, 20240105, false, "abcdef 3,2,1 3,1,2" },
        { f18, every, every, 20240101, 20240105, true, "acdf 2,1,1 1,1,2" },
        { f18, every, every, 20240101, 20240105, false, "ad 1,1,0 1,1,0" },
        { all, { false, true, false }, every, 20240101, 20240105, true, "de 3,2,1 1,1,0" },
        { all, every, { false, false, true }, 20240101, 20240105, true, "cf 1,0,1 3,1,2" },
        { all, every, every, 20240102, 20240104, true, "bcdf 2,1,1 1,1,2" },
        { all, every, every, 20240102, 20240104, false, "bdf 1,1,1 1,1,1" },
        { all, every, every, 20240101, 20240101, true, "ac 2,0,0 1,0,1" },
        { all, every, every, 20240105, 20240105, false, "e 0,1,0 1,0,0" },
        { iso800, every, every, 20240101, 20240105, false, "bd 1,1,0 1,1,0" },
        { from50, every, every, 20240101, 20240105, false, "abe 2,1,0 3,0,0" },
        { from50, every, every, 20240101, 20240105, true, "abcef 3,1,1 3,0,2" },
    };
    for (const Case& c : cases) {
        PanelFilters panel;
        for (const NameLine& line : fill.cameras)
            panel.cameras.push_back(line.name);
        for (const NameLine& line : fill.lenses)
            panel.lenses.push_back(line.name);
        panel.camerasChosen = c.cameras;
        panel.lensesChosen = c.lenses;
        std::tie(panel.fromDay, panel.toDay, panel.firstDay, panel.lastDay)
            = std::make_tuple(c.fromDay, c.toDay, fill.firstDay, fill.lastDay);
        panel.withoutValuePasses = c.withoutValuePasses;
        const QueryResult result = RunQuery(catalogue, c.bounds, &panel);
        std::string text = Listed(result);
        for (const auto* counts : { &result.counts.cameras, &result.counts.lenses }) {
            text += ' ';
            for (std::size_t i = 0; i < counts->size(); ++i)
                text += (i ? "," : "") + std::to_string((*counts)[i]);
        }
        EXPECT_EQ(text, c.expected);
    }
}

// The expanded window's lens and ISO speed where the record has none: in the lens lines,
// the lens filter and the ISO bound, where an end left at the catalogue's span bounds
// nothing (an ISO found elsewhere may lie beyond it); the template's query keeps the
// record's own values.
TEST(PhotoQuery, ThePanelUsesTheExpandedLensAndIso)
{
    PhotoCatalogue catalogue;
    Fill(catalogue,
        { TestPhoto("/p/a.jpg", "Canon", 2, 50, 100, 0.01, "L50"),
            TestPhoto("/p/b.jpg", "Canon", 2, 50, 0, 0.01, ""),
            TestPhoto("/p/c.jpg", "Canon", 2, 50, 400, 0.01, "L50") });
    PhotoRecord& b = *catalogue.head->next;
    std::tie(b.extras.lens, b.extras.lensSource, b.extras.iso, b.extras.isoSource)
        = std::make_tuple("18-55 mm", LensSource::CanonFocalRange, 3200, IsoSource::IsoSpeed);
    const PanelFill fill = FillPanel(catalogue);
    ASSERT_EQ(fill.lenses.size(), 2u);
    EXPECT_EQ(fill.lenses[0].name.str() + "," + fill.lenses[1].name.str(), "18-55 mm,L50");

    PanelFilters panel;
    panel.lenses = { fill.lenses[0].name, fill.lenses[1].name };
    panel.withoutValuePasses = false;
    // ISO from 400 (the top end untouched), up to 100 (the bottom end untouched), 18-55 mm only.
    const std::pair<QueryBounds, const char*> cases[]
        = { { Bounds(0, 0, 1, 1, 0, 0, "50", "50"), "bc" },
              { Bounds(0, 0, 0, 0, 0, 0, "50", "50"), "a" } };
    for (const auto& [bounds, expected] : cases)
        EXPECT_EQ(Listed(RunQuery(catalogue, bounds, &panel)), expected);
    panel.lensesChosen = { true, false };
    EXPECT_EQ(Listed(RunQuery(catalogue, Bounds(0, 0, 0, 1, 0, 0, "50", "50"), &panel)), "b");
    EXPECT_EQ(Listed(RunQuery(catalogue, Bounds(0, 0, 1, 1, 0, 0, "50", "50"), nullptr)), "bc");
}
