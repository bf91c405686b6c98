// SPDX-License-Identifier: MIT
// How many reads the read-ahead keeps in flight, and its ring dropping what is queued
// when it stops.
#include "catalogue/ReadLimit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "catalogue/PathSource.h"
#include "catalogue/ReadAhead.h"

// Events, one letter each: a file read on a spinning disk (S) or a solid-state one (s),
// a look that found the last 8 reads reaching the disk (D) or the page cache (c), a read
// with no look (.). The limit at the start, then after each event, "+" when it grew.
TEST(ReadLimit, SpinningDisksOneReadSolidStateManyOnceReadsReachTheDisk)
{
    const std::tuple<int, const char*, const char*> rows[]
        = { // Sized by the disk: one read until the first file tells which disk.
              { 0, "s", "1 2+" }, { 0, "sD", "1 2+ 16+" }, { 0, "S", "1 1" },
              { 0, "SDcccc", "1 1 1 1 1 1 1" },
              { 0, "D", "1 16+" }, // no file on a known disk yet: as a solid-state one
              { 0, "DS", "1 16+ 1" }, // then one on a spinning disk
              { 0, "sDSs", "1 2+ 16+ 1 16+" },
              // Back to the cache's two reads after four quiet looks in a row, not sooner.
              { 0, "sDcccc", "1 2+ 16+ 16 16 16 2" },
              { 0, "sDcccDcccc", "1 2+ 16+ 16 16 16 16 16 16 16 2" },
              { 0, "sD....ccc.c", "1 2+ 16+ 16 16 16 16 16 16 16 16 2" },
              { 0, "sDccccD", "1 2+ 16+ 16 16 16 2 16+" },
              // A number of reads given: always that many.
              { 3, "sDccccS", "3 3 3 3 3 3 3 3" }
          };
    for (const auto& [reads, events, expected] : rows) {
        ReadLimit limit(reads);
        std::string seen = std::to_string(limit.Limit());
        for (const char* event = events; *event; ++event) {
            const bool grew = *event == 'S' || *event == 's'
                ? limit.TakeDevice(*event == 'S' ? 1 : kDiskReads)
                : limit.TakeLook(*event == 'D' ? 1
                        : *event == 'c'        ? -1
                                               : 0);
            seen += " " + std::to_string(limit.Limit()) + (grew ? "+" : "");
        }
        EXPECT_EQ(seen, expected) << reads << " " << events;
    }
}

// Each device is asked about once: a spinning one takes one read, any other kDiskReads.
// A look counts the blocks of every 8th read only, and calls 256 blocks over 8 reads the
// disk, 255 the cache.
TEST(ReadLimit, DevicesAskedOnceAndLooksAtEveryEighthRead)
{
    std::vector<std::uint64_t> asked;
    DeviceReads devices([&asked](std::uint64_t device) {
        asked.push_back(device);
        return device == 0x801;
    });
    std::string reads;
    for (const std::uint64_t device : { 0x801, 0x10302, 0x801, 0x10302, 0x2d })
        reads += std::to_string(devices.ReadsOf(device)) + " ";
    EXPECT_EQ(reads, "1 16 1 16 16 ");
    EXPECT_EQ(asked, (std::vector<std::uint64_t> { 0x801, 0x10302, 0x2d }));

    DiskWatch watch(1000);
    int counts = 0;
    std::string looks;
    for (const long blocks : { 1256L, 1511L, 1511L, 9999L }) {
        for (int read = 0; read < 8; ++read)
            looks += std::to_string(watch.Look([&] { return ++counts, blocks; })) + " ";
        looks += "| ";
    }
    EXPECT_EQ(looks, "0 0 0 0 0 0 0 1 | 0 0 0 0 0 0 0 -1 | 0 0 0 0 0 0 0 -1 | 0 0 0 0 0 0 0 1 | ");
    EXPECT_EQ(counts, 4);
}

// Stop pulls no further path and drops the files queued but not yet read: of the ring's
// 16 files only the head and the one file a reader took are read. One read at a time
// (given, or sized by the disk before the first file), so that the loop reads nothing
// while a reader reads; the reader's reads after the head wait at a gate until the stop
// has begun, so that it cannot finish and take another meanwhile.
TEST(ReadAheadRing, StopDropsTheQueuedFilesUnread)
{
    for (const int reads : { 1, 0 }) {
        std::vector<std::string> paths;
        for (int i = 0; i < 40; ++i)
            paths.push_back("/nowhere/" + std::to_string(i) + ".jpg");
        struct CountingSource : PathListSource {
            using PathListSource::PathListSource;
            int pulled = 0;
            bool Next(std::string& path) override { return ++pulled, PathListSource::Next(path); }
        } source(paths);
        const std::thread::id loop = std::this_thread::get_id();
        std::mutex mutex;
        std::condition_variable opened;
        bool open = false;
        std::atomic<int> started { 0 };
        ReadAheadOptions options;
        options.reads = reads;
        options.ringSize = 16;
        options.read = [&](const std::string& path, std::uint8_t*, FileStart& start) {
            ++started;
            if (std::this_thread::get_id() != loop && path != paths[0]) {
                std::unique_lock<std::mutex> lock(mutex);
                opened.wait(lock, [&open] { return open; });
            }
            start = FileStart {};
            return true;
        };
        ReadAhead ring(source, options);
        const ReadAhead::File* first = ring.Next();
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first->path, paths[0]);
        EXPECT_EQ(source.pulled, 16); // the ring filled, no more

        ring.BeginStop();
        {
            const std::lock_guard<std::mutex> lock(mutex);
            open = true;
        }
        opened.notify_all();
        ring.Join();
        EXPECT_LE(started.load(), 2) << reads;
        EXPECT_EQ(ring.Next(), nullptr);
        EXPECT_EQ(source.pulled, 16);
    }
}
