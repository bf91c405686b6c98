// SPDX-License-Identifier: MIT
#include "catalogue/ScanLoop.h"

#include <gtest/gtest.h>

#include "catalogue/PathSource.h"
#include "catalogue/PhotoCatalogue.h"
#include "tests/catalogue/ExifTestFiles.h"

namespace {

// Code, current path, record count, and whether the spare record follows the counted ones
// as a fresh record.
using Seen = std::tuple<int, std::string, int, bool>;

// A catalogue whose progress window records each notice with what the dialog would show,
// and cancels after the cancelAfter-th one.
struct Recorder : ScanNotifier {
    PhotoCatalogue c;
    std::size_t cancelAfter = 0;
    std::vector<Seen> notices;
    Recorder() { c.progressWindow = this; }
    void Notice(int code) override
    {
        const PhotoRecord* last = c.head.get();
        for (int i = 0; i < c.recordCount; ++i)
            last = last->next.get();
        notices.emplace_back(code, c.currentPath, c.recordCount,
            last == c.spare && last->path.empty() && Of(*last) == Fields() && !last->next);
        c.cancelRequested = c.cancelRequested || notices.size() == cancelAfter;
    }
};

// kLittleEndian with another ISO.
Bytes Photo(std::uint16_t iso)
{
    Bytes bytes = kLittleEndian;
    bytes[72] = static_cast<std::uint8_t>(iso);
    bytes[73] = static_cast<std::uint8_t>(iso >> 8);
    return bytes;
}

void Scan(PhotoCatalogue& c, std::vector<std::string> paths)
{
    BeginScan(c);
    PathListSource source(std::move(paths));
    ScanChosenFiles(c, source);
}

} // namespace

// Every third file from the second on is rejected: after each file, accepted or not, the
// spare record follows the counted ones unused.
TEST(ScanLoop, ProgressPerFileThenDoneWithTheSpareRecordLast)
{
    TempDir dir;
    Recorder rec;
    std::vector<std::string> paths;
    int accepted = 0;
    std::vector<Seen> expected;
    for (int i = 0; i < 10; ++i) {
        const std::string name = std::to_string(i) + ".jpg";
        const auto iso = static_cast<std::uint16_t>(1000 - 100 * i);
        paths.push_back(i % 3 == 1 ? dir.Write(name, { 'x' })
                                   : dir.Write(name, Photo(iso), i == 0 ? 1572864 : 0));
        expected.emplace_back(ScanProgress, paths.back(), accepted += i % 3 != 1, true);
    }
    expected.emplace_back(ScanDone, paths.back(), 7, true);
    rec.c.valueCounts[Iso] = 5; // left over from an earlier run
    Scan(rec.c, paths);
    EXPECT_EQ(rec.notices, expected);
    const std::vector<double> tables[] = { { 2.8 }, { 50 }, { 100, 200, 400, 500, 700, 800, 1000 },
        { 1.0 / 125 }, { 1.5 } }; // by Quantity
    for (int k = 0; k < kQuantityCount; ++k)
        EXPECT_EQ(
            std::vector<double>(rec.c.values[k], rec.c.values[k] + rec.c.valueCounts[k]), tables[k])
            << k;
}

TEST(ScanLoop, CancelFinishesTheCurrentFileThenCloses)
{
    TempDir dir;
    const std::vector<std::string> paths = { dir.Write("a.jpg", Photo(100)), dir.Write("b", {}) };
    for (bool before : { true, false }) { // pressed before the first file, or during it
        Recorder rec;
        rec.cancelAfter = 1;
        rec.c.cancelRequested = before;
        Scan(rec.c, paths);
        EXPECT_EQ(rec.notices,
            (std::vector<Seen> {
                { ScanProgress, paths[0], 1, true }, { ScanClose, paths[0], 1, true } }));
    }
    Recorder rec; // no files chosen: the tables are emptied and the run completes
    rec.c.valueCounts[FileSize] = 3;
    Scan(rec.c, {});
    EXPECT_EQ(rec.notices, (std::vector<Seen> { { ScanDone, "", 0, true } }));
    EXPECT_EQ(rec.c.valueCounts[FileSize], 0);
}
