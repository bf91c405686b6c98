// SPDX-License-Identifier: MIT
// How many files the read-ahead reads at once, decided from what its reads show: whether
// they come from the page cache or reach the disk, and what kind of disk the files lie
// on. Plain policy: it sees only what it is told and does no reading of its own, so that
// the read-ahead's ring knows nothing of why it has as many reads in flight as it has.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

// Reads in flight at most, the loop's own included, when sized by the disk. While every
// read is served from the page cache, the loop and one reader: they keep both processor
// cores busy, and more threads would only take turns. Once reads reach the disk, many at
// once, so that a solid-state disk, a card, a network share or a virtual disk works on
// several together; a spinning disk takes one at a time.
constexpr int kCachedReads = 2;
constexpr int kDiskReads = 16;

// Watches the 512-byte blocks one thread has read from a disk (getrusage's ru_inblock
// for that thread), so that a scan that finds its files in the page cache can tell when
// it stops doing so.
class DiskWatch {
public:
    explicit DiskWatch(long blocks)
        : m_blocks(blocks)
    {
    }
    // Called after each read of the thread; looks at every 8th only, asking blocksNow()
    // for the thread's count then, and returns 0 at the others: 1 when those 8 reads read
    // from a disk, -1 when they did not.
    template <class BlocksNow> int Look(BlocksNow blocksNow)
    {
        if (++m_reads < 8)
            return 0;
        m_reads = 0;
        return LookAt(blocksNow());
    }

private:
    int LookAt(long blocks);

    long m_blocks;
    int m_reads = 0;
};

// The reads a device takes: one at a time for a spinning disk, kDiskReads for anything
// else. Each device is asked about once; the answers are kept for the run.
class DeviceReads {
public:
    // Whether the device (a st_dev number) is a spinning disk.
    using IsSpinning = std::function<bool(std::uint64_t device)>;
    explicit DeviceReads(IsSpinning isSpinning)
        : m_isSpinning(std::move(isSpinning))
    {
    }
    int ReadsOf(std::uint64_t device);

private:
    IsSpinning m_isSpinning;
    std::vector<std::pair<std::uint64_t, int>> m_known;
};

class ReadLimit {
public:
    // reads > 0: always that many. 0 or less: sized by the disk, one read at a time until
    // the first file read has told which disk.
    explicit ReadLimit(int reads)
        : m_sizedByDisk(reads <= 0)
        , m_limit(m_sizedByDisk ? 1 : reads)
    {
    }

    bool SizedByDisk() const { return m_sizedByDisk; }
    int Limit() const { return m_limit; } // reads in flight at most
    // Whether recent reads had to wait for the disk rather than find the page cache.
    bool ReadsReachDisk() const { return m_readsReachDisk; }

    // The reads the disk of the file read last takes (DeviceReads). Returns whether the
    // limit grew, so that readers waiting for room may start.
    bool TakeDevice(int deviceReads);
    // A DiskWatch's look after a read. Back to the cache's sizes only after several looks
    // in a row found no disk read, so that a few cached files among cold ones do not make
    // the pool shrink and grow. Returns whether the limit grew.
    bool TakeLook(int look);

private:
    // The limit that the disk and the reads seen so far allow; whether it grew.
    bool SetLimit();

    const bool m_sizedByDisk;
    int m_limit;
    int m_deviceReads = kDiskReads;
    bool m_readsReachDisk = false;
    int m_quietLooks = 0; // looks in a row that found no disk read
};
