// SPDX-License-Identifier: MIT
#include "catalogue/ScanLoop.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "catalogue/PathSource.h"
#include "catalogue/PhotoCatalogue.h"
#include "tests/catalogue/ExifTestFiles.h"

namespace {

// Code, current path, record count, and whether a fresh spare record follows the counted ones.
using Seen = std::tuple<int, std::string, int, bool>;

// A catalogue whose progress window records each notice with what the dialog would show,
// and cancels after the cancelAfter-th one.
struct Recorder : ScanNotifier {
    PhotoCatalogue c;
    std::size_t cancelAfter = 0;
    std::vector<Seen> notices;
    std::atomic<int> noticeCount { 0 }; // read by reader threads
    std::function<void()> onNotice; // runs first, on the loop's thread
    Recorder() { c.progressWindow = this; }
    void Notice(int code) override
    {
        if (onNotice)
            onNotice();
        const PhotoRecord* last = c.head.get();
        for (int i = 0; i < c.recordCount; ++i)
            last = last->next.get();
        notices.emplace_back(code, c.currentPath, c.recordCount,
            last == c.spare && last->path.empty() && Of(*last) == Fields() && !last->next);
        c.cancelRequested = c.cancelRequested || notices.size() == cancelAfter;
        ++noticeCount;
    }
};

// Reads files as the scan does, each after a pause of its own (up to maxPauseUs), so that
// reads finish out of order; counts the reads in flight and, with a recorder, how far a
// read runs ahead of the notices.
struct SlowReads {
    int maxPauseUs;
    const Recorder* recorder = nullptr;
    std::function<void(const std::string&)> beforeRead {};
    std::atomic<int> inFlight { 0 }, maxAhead { 0 };

    ReadAheadOptions Options(int reads, std::size_t ring)
    {
        return { [this](const std::string& path, std::uint8_t* buffer, FileStart& start) {
                    ++inFlight;
                    if (recorder != nullptr) { // files are named by their index
                        const int ahead = std::stoi(std::filesystem::path(path).stem().string())
                            - recorder->noticeCount;
                        for (int seen = maxAhead; ahead > seen;)
                            maxAhead.compare_exchange_weak(seen, ahead);
                    }
                    const auto pause = std::hash<std::string>()(path) % unsigned(maxPauseUs + 1);
                    std::this_thread::sleep_for(std::chrono::microseconds(pause));
                    if (beforeRead)
                        beforeRead(path);
                    const bool read = ReadFileStart(path, buffer, start);
                    --inFlight;
                    return read;
                },
            reads, ring };
    }
};

// Hands out its paths, each after a pause of pauseMs, and counts them.
struct CountingSource : PathListSource {
    using PathListSource::PathListSource;
    int pulled = 0, pauseMs = 0;
    bool Next(std::string& path) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        return ++pulled, PathListSource::Next(path);
    }
};

} // namespace

// Files 0 to n-1: every fifth from the third on holds no photo, every seventh from the
// sixth on does not exist, the second vanishes and the fourth turns into a FIFO nobody
// writes to between being queued and being read. Whichever read ends first, the notices
// come in file order, the rejected files included, each with the spare record unused after
// the counted ones; no read starts a ring's length ahead of the notices; the tables of an
// earlier run are emptied, also when no file is chosen.
TEST(ScanLoop, ReadAheadKeepsFileOrderAndACancelLeavesNothingBehind)
{
    // Files, reads in flight (0: sized by the disk), ring size.
    const std::tuple<int, int, std::size_t> rows[] = { { 40, 3, 4 }, { 40, 8, 64 }, { 40, 1, 1 },
        { 2, 8, 64 }, { 0, 8, 64 }, { 12, 0, kReadAheadSlots } };
    for (const auto& [files, reads, ring] : rows) {
        TempDir dir;
        Recorder rec;
        SlowReads slow { 2000, &rec };
        std::mt19937 random(3);
        rec.onNotice = [&random] { // lets the readers run ahead now and then
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 800));
        };
        std::vector<std::string> paths, accepted;
        std::vector<Seen> expected;
        for (int i = 0; i < files; ++i) {
            const std::string name = std::to_string(i) + ".jpg";
            paths.push_back(i % 7 == 6 ? (dir.path / name).string()
                                       : dir.Write(name, i % 5 == 3 ? Bytes { 'x' } : kBigEndian));
            if (i % 7 != 6 && i % 5 != 3 && !(files > 4 && (i == 1 || i == 4)))
                accepted.push_back(paths.back());
            expected.emplace_back(
                ScanProgress, paths.back(), static_cast<int>(accepted.size()), true);
        }
        expected.emplace_back(
            ScanDone, files > 0 ? paths.back() : "", static_cast<int>(accepted.size()), true);
        slow.beforeRead = [&paths](const std::string& path) {
            if (paths.size() > 4 && (path == paths[1] || path == paths[4]))
                std::filesystem::remove(path);
            EXPECT_TRUE(paths.size() <= 4 || path != paths[4] || ::mkfifo(path.c_str(), 0600) == 0);
        };
        rec.c.valueCounts[FileSize] = 3;
        BeginScan(rec.c);
        PathListSource source(paths);
        ScanChosenFiles(rec.c, source, slow.Options(reads, ring));
        EXPECT_EQ(rec.notices, expected) << files << " " << reads << " " << ring;
        EXPECT_EQ(rec.c.valueCounts[FileSize], 0);
        std::vector<std::string> recorded;
        for (const PhotoRecord* r = rec.c.head.get(); r != rec.c.spare; r = r->next.get())
            recorded.push_back(r->path);
        EXPECT_EQ(recorded, accepted);
        EXPECT_LT(slow.maxAhead.load(), static_cast<int>(ring));
        EXPECT_EQ(slow.inFlight.load(), 0);
    }

    // Cancel before the first file (0) or while reads are in flight: the file being read is
    // finished, the files after it get no record, no path is pulled after the cancel, and no
    // reader thread or descriptor stays behind.
    TempDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < 30; ++i)
        paths.push_back(dir.Write(std::to_string(i) + ".jpg", kBigEndian));
    // A sanitizer's runtime starts a thread of its own along with the process's first.
    std::thread([] {}).join();
    const std::size_t threads = EntriesOf("/proc/self/task"),
                      descriptors = EntriesOf("/proc/self/fd");
    for (const std::size_t cancelAt : { 0, 1, 3, 30 }) {
        const std::size_t cancelAfter = std::max<std::size_t>(cancelAt, 1);
        Recorder rec;
        SlowReads reads { 15000 };
        CountingSource source(paths);
        int pulledAtClose = -1;
        rec.cancelAfter = cancelAfter;
        rec.c.cancelRequested = cancelAt == 0;
        rec.onNotice = [&] { pulledAtClose = source.pulled; };
        BeginScan(rec.c);
        ScanChosenFiles(rec.c, source, reads.Options(4, 8));

        const auto n = static_cast<int>(cancelAfter);
        ASSERT_EQ(rec.notices.size(), cancelAfter + 1);
        EXPECT_EQ(rec.notices.back(), Seen(ScanClose, paths[cancelAfter - 1], n, true));
        EXPECT_EQ(rec.c.recordCount, n);
        EXPECT_EQ(source.pulled, pulledAtClose);
        EXPECT_LE(source.pulled, n + 8 + 1); // the last pull may be the one that found the end
        EXPECT_EQ(reads.inFlight.load(), 0);
        // A thread may stay listed for a moment after its join returned.
        for (int i = 0; i < 200 && EntriesOf("/proc/self/task") != threads; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(EntriesOf("/proc/self/task"), threads) << cancelAfter;
        EXPECT_EQ(EntriesOf("/proc/self/fd"), descriptors) << cancelAfter;
    }
}

TEST(ScanLoop, SkippedFilesAreCountedByReasonAndTheNextRunStartsAfresh)
{
    TempDir dir;
    const std::string fifo = (dir.path / "fifo.jpg").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string longName = (dir.path / (std::string(300, 'n') + ".jpg")).string();
    const std::string longPath = "/" + std::string(5000, 'p') + "/a.jpg";
    const std::vector<std::string> paths = { dir.Write("a.jpg", kBigEndian),
        dir.Write("jfif.jpg", Hex("FFD8FFE0 0010 4A46")), dir.Write("empty.jpg", {}),
        dir.path.string(), fifo, "/dev/null", (dir.path / "missing.jpg").string(), longName,
        longPath, dir.Write("b.jpg", kBigEndian) };
    PhotoCatalogue c;
    PathListSource source(paths);
    ScanChosenFiles(c, source);
    EXPECT_EQ(c.recordCount, 2);
    // No EXIF block, unreadable, not a regular file, path too long.
    EXPECT_EQ(std::vector<int>(std::begin(c.skipped), std::end(c.skipped)),
        (std::vector<int> { 2, 1, 3, 2, 0 }));
    EXPECT_STREQ(kSkipReasonTexts[SkipPathTooLong], "path too long");

    PathListSource again({ paths[0] });
    ClearRecords(c);
    ScanChosenFiles(c, again);
    EXPECT_EQ(std::vector<int>(std::begin(c.skipped), std::end(c.skipped)),
        (std::vector<int> { 0, 0, 0, 0, 0 }));
}

// A walk through folders without photos shows where it is (the first folder at once) and
// a cancel meanwhile ends the run within that folder: no later folder is entered, no file
// read, and ScanClose follows. A stream that gives paths slowly has its first file handed
// out long before the ring is full.
TEST(ScanLoop, ACancelDuringAWalkEndsItAndASlowStreamHandsOutItsFirstFileEarly)
{
    TempDir tree;
    for (int i = 0; i < 50; ++i)
        std::filesystem::create_directories(tree.path / ("f" + std::to_string(100 + i)));
    std::filesystem::create_directories(tree.path / "zz");
    for (int i = 0; i < 50; ++i)
        tree.Write("f" + std::to_string(100 + i) + "/notes.txt", { 'x' });
    tree.Write("zz/photo.jpg", kBigEndian);
    Recorder rec;
    rec.cancelAfter = 1;
    SlowReads reads { 0 };
    BeginScan(rec.c);
    const auto source = MakeScanSource({ tree.path.string() });
    ScanChosenFiles(rec.c, *source, reads.Options(2, 8));
    EXPECT_EQ(rec.notices,
        (std::vector<Seen> { { ScanFolder, tree.path.string(), 0, true },
            { ScanClose, tree.path.string(), 0, true } }));
    EXPECT_EQ(reads.inFlight.load(), 0);

    // 200 paths, 2 ms apiece: the first notice comes after a handful of them, not 128.
    std::vector<std::string> paths;
    for (int i = 0; i < 200; ++i)
        paths.push_back(tree.Write(std::to_string(i) + ".jpg", kBigEndian));
    CountingSource slow(paths);
    slow.pauseMs = 2;
    Recorder first;
    int pulledAtFirst = -1;
    first.onNotice = [&] {
        if (pulledAtFirst < 0)
            pulledAtFirst = slow.pulled;
    };
    first.cancelAfter = 1;
    BeginScan(first.c);
    ScanChosenFiles(first.c, slow);
    EXPECT_GE(pulledAtFirst, 1);
    EXPECT_LT(pulledAtFirst, 64);
    EXPECT_EQ(first.notices.back(), Seen(ScanClose, paths[0], 1, true));
}
