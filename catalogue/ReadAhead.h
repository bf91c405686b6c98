// SPDX-License-Identifier: MIT
// Reads the files of a path stream ahead of the loop that parses them, and hands them
// to that loop in the stream's order.
//
// A ring of slots, each with one buffer of kExifReadSize bytes, is addressed by an
// ever-growing sequence number modulo the ring's size. The loop's thread pulls paths
// from the stream into free slots, one at a time and never from another thread; a small
// pool of reader threads takes the queued slots in sequence order and reads each file
// with one open, one fstat, one read and one close on the reader's own thread, so that
// no descriptor crosses threads. The loop waits on the head slot alone, and reads the
// head file itself when no reader has taken it yet, so that a pool of any size, or none,
// gives the same files in the same order. No slot is reused before the loop has moved
// past it: at most the ring's size of files are read ahead, whatever the pool does.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "catalogue/ExifReader.h"

class PathSource;

// Reads the start of one file as ReadFileStart does; called from several threads at once.
using FileStartReader
    = std::function<bool(const std::string& path, std::uint8_t* buffer, FileStart& start)>;

// Readers where the disk takes many reads at once: a solid-state disk, a card, a network
// share, a virtual disk.
constexpr int kFullPoolReaders = 8;
// Files read ahead at most: 64 buffers of 32 KiB, 2 MiB in all.
constexpr std::size_t kReadAheadSlots = 64;

struct ReadAheadOptions {
    FileStartReader read = ReadFileStart;
    // Reader threads. 0 sizes the pool by the disk of the files read: one reader on a
    // spinning disk, kFullPoolReaders elsewhere, one until the first file has told.
    int readers = 0;
    std::size_t slots = kReadAheadSlots; // at least 1
};

class ReadAhead {
public:
    // One file of the stream as read.
    struct File {
        std::string path;
        std::uint8_t* bytes = nullptr; // kExifReadSize bytes, of which start.size were read
        FileStart start;
        bool read = false; // what the FileStartReader returned
    };

    ReadAhead(PathSource& paths, ReadAheadOptions options);
    // Stops as Stop does.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next file of the stream, read; null after the last one or after Stop. The file
    // stays valid until the next call, which hands its slot back to the ring. Called from
    // one thread only, the one that pulls the stream.
    const File* Next();

    // Pulls no further path, drops the files queued but not yet read, lets the reads in
    // flight finish (each closes its file) and joins every reader thread.
    void Stop();

private:
    enum class State { Queued, Reading, Done };
    struct Slot {
        File file;
        State state = State::Queued;
    };

    Slot& SlotOf(std::uint64_t seq)
    {
        return m_slots[static_cast<std::size_t>(seq % m_slots.size())];
    }
    // With the lock held: how many reader threads to start, after waking idle ones.
    std::size_t WakeReaders(bool loopWillWait);
    void StartReaders(std::size_t count);
    void ReaderMain();
    void UseReadersFor(std::uint64_t device);

    PathSource& m_paths;
    const FileStartReader m_read;
    const bool m_sizeByDisk;
    const std::uint64_t m_wakeBatch; // queued files that are worth waking a reader for
    std::unique_ptr<std::uint8_t[]> m_buffers;
    std::vector<Slot> m_slots;

    // The loop's thread alone uses these.
    std::vector<std::thread> m_threads;
    std::vector<std::pair<std::uint64_t, int>> m_readersByDevice;
    std::uint64_t m_lastDevice = ~std::uint64_t { 0 }; // none yet
    bool m_sourceDone = false;
    bool m_handedOut = false; // the head slot is with the loop
    bool m_stopped = false;
    bool m_startFailed = false;

    // Guarded by m_mutex. Slots [m_head, m_tail) hold queued, reading or read files;
    // [m_nextTake, m_tail) are the queued ones, taken in sequence order.
    std::mutex m_mutex;
    std::condition_variable m_work; // readers wait for a queued file
    std::condition_variable m_headRead; // the loop waits for the head file's read
    std::uint64_t m_head = 0;
    std::uint64_t m_tail = 0;
    std::uint64_t m_nextTake = 0;
    int m_limit; // reads in flight at most
    int m_inFlight = 0;
    int m_idle = 0; // readers waiting in m_work
    bool m_loopWaiting = false;
    bool m_stopping = false;
};
