// SPDX-License-Identifier: MIT
#include "catalogue/ScanLoop.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

#include "catalogue/PhotoCatalogue.h"
#include "tests/catalogue/ExifTestFiles.h"

namespace {

// Code, current path, record count, and whether the spare record follows the counted ones
// as a fresh record.
using Seen = std::tuple<int, std::string, int, bool>;

// Records each notice with what the progress dialog would show; cancels after the given one.
struct RecordingNotifier : ScanNotifier {
    PhotoCatalogue& c;
    std::size_t cancelAfter;
    std::vector<Seen> notices;
    RecordingNotifier(PhotoCatalogue& catalogue, std::size_t after = 0)
        : c(catalogue)
        , cancelAfter(after)
    {
        c.progressWindow = this;
    }
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

// A photo with the given ISO and f-number (tenths).
Bytes Photo(std::uint16_t iso, std::uint32_t fNumberTenths)
{
    return WrapJpeg(BuildTiff(false, { TextEntry(0x010F, "SONY"), TextEntry(0x0110, "CAM-5") },
        { ShortEntry(0x8827, iso), RationalEntry(0x829D, fNumberTenths, 10) }));
}

void Scan(PhotoCatalogue& c, std::vector<std::string> paths)
{
    BeginScan(c);
    std::size_t next = 0;
    ScanChosenFiles(
        c, [&](std::string& path) { return next < paths.size() && (path = paths[next++], true); });
}

} // namespace

// Every third file from the second on is rejected: after each file, accepted or not, the
// spare record follows the counted ones unused.
TEST(ScanLoop, ProgressPerFileThenDoneWithTheSpareRecordLast)
{
    TempDir dir;
    PhotoCatalogue c;
    RecordingNotifier notifier(c);
    std::vector<std::string> paths, accepted;
    std::vector<Seen> expected;
    for (int i = 0; i < 10; ++i) {
        const std::string name = std::to_string(i) + ".jpg";
        const auto iso = static_cast<std::uint16_t>(1000 - 100 * i);
        paths.push_back(i % 3 == 1 ? dir.Write(name, { 'x' })
                                   : dir.Write(name, Photo(iso, 20), i == 0 ? 1572864 : 0));
        if (i % 3 != 1)
            accepted.push_back(paths.back());
        expected.emplace_back(ScanProgress, paths.back(), static_cast<int>(accepted.size()), true);
    }
    expected.emplace_back(ScanDone, paths.back(), 7, true);
    c.valueCounts[Iso] = 5; // left over from an earlier run
    Scan(c, paths);
    EXPECT_EQ(notifier.notices, expected);
    const std::vector<double> tables[]
        = { { 2 }, {}, { 100, 200, 400, 500, 700, 800, 1000 }, {}, { 1.5 } }; // by Quantity
    for (int k = 0; k < kQuantityCount; ++k)
        EXPECT_EQ(std::vector<double>(c.values[k], c.values[k] + c.valueCounts[k]), tables[k]) << k;
    const PhotoRecord* r = c.head.get(); // the records walk in reading order
    for (const std::string& path : accepted) {
        EXPECT_EQ(r->path, path);
        r = r->next.get();
    }
}

TEST(ScanLoop, CancelFinishesTheCurrentFileThenCloses)
{
    TempDir dir;
    const std::vector<std::string> paths
        = { dir.Write("a.jpg", Photo(100, 28)), dir.Write("b.jpg", Photo(200, 28)) };
    for (bool before : { true, false }) { // pressed before the first file, or during it
        PhotoCatalogue c;
        RecordingNotifier notifier(c, 1);
        c.cancelRequested = before;
        Scan(c, paths);
        EXPECT_EQ(notifier.notices,
            (std::vector<Seen> {
                { ScanProgress, paths[0], 1, true }, { ScanClose, paths[0], 1, true } }));
    }
    PhotoCatalogue c; // no files chosen: the tables are emptied and the run completes
    RecordingNotifier notifier(c);
    c.valueCounts[FileSize] = 3;
    Scan(c, {});
    EXPECT_EQ(notifier.notices, (std::vector<Seen> { { ScanDone, "", 0, true } }));
    EXPECT_EQ(c.valueCounts[FileSize], 0);
    PhotoCatalogue quiet; // without a progress window the loop still runs
    Scan(quiet, paths);
    EXPECT_EQ(quiet.recordCount, 2);
}
