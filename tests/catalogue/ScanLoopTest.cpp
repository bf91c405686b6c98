// SPDX-License-Identifier: MIT
#include "catalogue/ScanLoop.h"

#include <gtest/gtest.h>
#include <vector>

#include "catalogue/PhotoCatalogue.h"
#include "tests/catalogue/ExifTestFiles.h"

namespace {

struct Notice {
    int code;
    std::string path;
    int count;
    bool operator==(const Notice& o) const { return code == o.code && path == o.path && count == o.count; }
};

// Records each notice with what the progress dialog would show, and can cancel.
class RecordingNotifier : public ScanNotifier {
public:
    explicit RecordingNotifier(PhotoCatalogue& c) : m_catalogue(c) { c.progressWindow = this; }
    void Notice(int code) override
    {
        notices.push_back({code, m_catalogue.currentPath, m_catalogue.recordCount});
        if (static_cast<int>(notices.size()) == cancelAfter)
            m_catalogue.cancelRequested = true;
    }
    std::vector<::Notice> notices;
    int cancelAfter = -1;

private:
    PhotoCatalogue& m_catalogue;
};

// A photo with the given ISO and f-number (tenths).
Bytes Photo(std::uint16_t iso, std::uint32_t fNumberTenths)
{
    return WrapJpeg(BuildTiff(false, {TextEntry(0x010F, "SONY"), TextEntry(0x0110, "CAM-5")},
        {ShortEntry(0x8827, iso), RationalEntry(0x829D, fNumberTenths, 10)}));
}

std::function<bool(std::string&)> PathsOf(const std::vector<std::string>& paths)
{
    auto next = std::make_shared<std::size_t>(0);
    return [paths, next](std::string& path) {
        if (*next >= paths.size())
            return false;
        path = paths[(*next)++];
        return true;
    };
}

bool IsFresh(const PhotoRecord& r)
{
    return r.path.empty() && r.camera.empty() && r.iso == 0 && r.fNumber == 0 && r.exposureTime == 0
        && r.focalLength == 0 && r.fileSizeMb == 0 && r.next == nullptr;
}

} // namespace

TEST(ScanLoop, SpareRecordAfterAcceptedAndRejectedFiles)
{
    TempDir dir;
    PhotoCatalogue c;
    BeginScan(c);
    ASSERT_TRUE(c.head != nullptr);
    EXPECT_EQ(c.spare, c.head.get());

    const std::string rejected = dir.Write("no.jpg", {0xFF, 0xD8, 0xFF, 0xE0});
    EXPECT_FALSE(ScanOneFile(c, rejected));
    EXPECT_EQ(c.currentPath, rejected);
    EXPECT_EQ(c.spare, c.head.get());
    EXPECT_TRUE(IsFresh(*c.spare));
    EXPECT_EQ(c.recordCount, 0);

    const std::string accepted = dir.Write("yes.jpg", Photo(400, 28), 1572864);
    EXPECT_TRUE(ScanOneFile(c, accepted));
    EXPECT_EQ(c.recordCount, 1);
    EXPECT_EQ(c.head->path, accepted);
    EXPECT_EQ(c.head->next.get(), c.spare);
    EXPECT_TRUE(IsFresh(*c.spare));
    const double expected[kQuantityCount] = {2.8, 0, 400, 0, 1.5};
    for (int k = 0; k < kQuantityCount; ++k) {
        ASSERT_EQ(c.valueCounts[k], expected[k] > 0 ? 1 : 0) << k;
        EXPECT_EQ(c.values[k][0], expected[k]) << k;
    }
}

TEST(ScanLoop, ProgressPerFileThenDone)
{
    TempDir dir;
    PhotoCatalogue c;
    RecordingNotifier notifier(c);
    std::vector<std::string> paths;
    for (int i = 0; i < 10; ++i) {
        const std::string name = std::to_string(i) + ".jpg";
        paths.push_back(i % 3 == 1 ? dir.Write(name, {'x'}) : dir.Write(name, Photo(static_cast<std::uint16_t>(1000 - 100 * i), 20)));
    }
    c.valueCounts[Iso] = 5; // left over from an earlier run
    BeginScan(c);
    ScanChosenFiles(c, PathsOf(paths));

    std::vector<Notice> expected;
    int count = 0;
    for (int i = 0; i < 10; ++i) {
        count += i % 3 == 1 ? 0 : 1;
        expected.push_back({ScanProgress, paths[static_cast<std::size_t>(i)], count});
    }
    expected.push_back({ScanDone, paths.back(), 7});
    EXPECT_EQ(notifier.notices, expected);
    EXPECT_EQ(c.recordCount, 7);
    EXPECT_EQ(std::vector<double>(c.values[Iso], c.values[Iso] + c.valueCounts[Iso]),
        (std::vector<double>{100, 200, 400, 500, 700, 800, 1000}));
    EXPECT_EQ(c.valueCounts[Aperture], 1);

    // The records walk in reading order, then the spare one.
    const PhotoRecord* r = c.head.get();
    for (int i = 0; i < 10; ++i) {
        if (i % 3 == 1)
            continue;
        EXPECT_EQ(r->path, paths[static_cast<std::size_t>(i)]);
        r = r->next.get();
    }
    EXPECT_EQ(r, c.spare);
}

TEST(ScanLoop, CancelFinishesTheCurrentFileThenCloses)
{
    TempDir dir;
    const std::vector<std::string> paths = {dir.Write("a.jpg", Photo(100, 28)), dir.Write("b.jpg", Photo(200, 28))};
    for (int cancelAfter : {0, 1}) {
        PhotoCatalogue c;
        RecordingNotifier notifier(c);
        notifier.cancelAfter = cancelAfter;
        c.cancelRequested = cancelAfter == 0; // pressed before the first file
        BeginScan(c);
        ScanChosenFiles(c, PathsOf(paths));
        const std::vector<Notice> expected = {{ScanProgress, paths[0], 1}, {ScanClose, paths[0], 1}};
        EXPECT_EQ(notifier.notices, expected);
    }

    // No files chosen: the tables are emptied and the run completes.
    PhotoCatalogue c;
    RecordingNotifier notifier(c);
    c.valueCounts[FileSize] = 3;
    BeginScan(c);
    ScanChosenFiles(c, PathsOf({}));
    EXPECT_EQ(notifier.notices, (std::vector<Notice>{{ScanDone, "", 0}}));
    EXPECT_EQ(c.valueCounts[FileSize], 0);
    EXPECT_TRUE(IsFresh(*c.head));

    // Without a progress window the loop still runs.
    PhotoCatalogue quiet;
    BeginScan(quiet);
    ScanChosenFiles(quiet, PathsOf(paths));
    EXPECT_EQ(quiet.recordCount, 2);
}
