// SPDX-License-Identifier: MIT
// Reads the files of a path stream ahead of the loop that parses them, and hands them
// to that loop in the stream's order.
//
// A ring of slots is addressed by an ever-growing sequence number modulo the ring's
// size. The loop's thread pulls paths from the stream into free slots, one at a time and
// never from another thread. A small pool of reader threads takes the queued slots in
// sequence order and reads each file with one open, one fstat, one to four reads and one close
// on the reader's own thread, so that no descriptor crosses threads. The loop waits on the
// head slot alone; while the head is not read yet, it reads the first queued file itself
// (the head, when no reader has taken it), so that a pool of any size, or none, gives the
// same files in the same order. A slot being read or read holds one of as many buffers
// of kFileStartBufferSize bytes, the one freed last first, so that a warm scan copies into a few
// buffers that stay in the processor's cache. No slot is reused before the loop has moved
// past it: at most the ring's size of files are read ahead, whatever the pool does. How
// many reads are in flight at most is ReadLimit's to say (catalogue/ReadLimit.h).
#pragma once

#include <atomic>
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
#include "catalogue/ReadLimit.h"

class PathSource;

// Reads the start of one file as ReadFileStart does; called from several threads at once.
using FileStartReader
    = std::function<bool(const std::string& path, std::uint8_t* buffer, FileStart& start)>;

// Files read ahead at most: 128 buffers of 160 KiB (the first read, then two areas of
// 64 KiB for EXIF blocks or far TIFF directories), of which a JPEG, or a TIFF file whose
// directories lie in its first 32 KiB, touches the first 32 KiB only: 4 MiB in use, 20 MiB
// reserved. A box read whole goes to the reading thread's own buffer (768 KiB, made on its
// first such file), so a slot never holds more than its 160 KiB. The depth keeps the
// disk busy while the loop reports, one notice each, a run of files that came in at once.
constexpr std::size_t kReadAheadSlots = 128;

struct ReadAheadOptions {
    FileStartReader read = ReadFileStart;
    // Reads in flight at most, the loop's own included: the pool holds one reader thread
    // fewer, and at least one. 0 sizes it as described above by what the reads show: one
    // read at a time on a spinning disk, else kCachedReads, or kDiskReads once a read of
    // some thread had to wait for the disk.
    int reads = 0;
    std::size_t ringSize = kReadAheadSlots; // slots, at least 1
    // Set (by any thread): no further path is pulled from the stream.
    const std::atomic<bool>* cancel = nullptr;
};

class ReadAhead {
public:
    // One file of the stream as read.
    struct File {
        std::string path;
        std::uint8_t* bytes = nullptr; // kFileStartBufferSize bytes, read as start says
        FileStart start;
        bool read = false; // what the FileStartReader returned
    };

    ReadAhead(PathSource& paths, ReadAheadOptions options);
    // Stops as Stop does.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next file of the stream, read; null after the last one or after Stop. The file
    // stays valid until the next call, which hands its slot back to the ring. The object
    // is made, used and destroyed on one thread, the one that pulls the stream.
    const File* Next();

    // Pulls no further path, drops the files queued but not yet read, lets the reads in
    // flight finish (each closes its file) and joins every reader thread: BeginStop, then
    // Join.
    void Stop();
    // Pulls no further path, drops the files queued but not yet read and wakes every
    // reader, without waiting for the reads in flight. Next returns null from then on.
    void BeginStop();
    // After BeginStop: waits for the reads in flight (each closes its file) and joins
    // every reader thread.
    void Join();

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
    // With the lock held: wakes an idle reader when enough files are queued, or returns
    // how many reader threads to start when none is idle.
    std::size_t WakeReaders();
    void WakeOneReader(); // with the lock held
    void WakeAllReaders(); // with the lock held
    void StartReaders(std::size_t count);

    // With the lock held, released during the read: takes the first queued file, reads it
    // on this thread and returns its sequence number.
    std::uint64_t ReadFirstQueued(std::unique_lock<std::mutex>& lock, DiskWatch& watch);
    void ReaderMain();
    void SizeForDevice(std::uint64_t device);

    PathSource& m_paths;
    const FileStartReader m_read;
    const std::atomic<bool>* const m_cancel;
    std::vector<Slot> m_slots;
    const std::uint64_t m_wakeBatch; // queued files that are worth waking a reader for
    std::vector<std::unique_ptr<std::uint8_t[]>> m_buffers;

    // The loop's thread alone uses these.
    std::vector<std::thread> m_threads;
    DeviceReads m_deviceReads;
    DiskWatch m_loopWatch;
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
    std::vector<std::uint8_t*> m_freeBuffers; // a stack: the one freed last on top
    std::uint64_t m_head = 0;
    std::uint64_t m_tail = 0;
    std::uint64_t m_nextTake = 0;
    ReadLimit m_limit; // reads in flight at most
    int m_inFlight = 0;
    int m_idle = 0; // readers waiting in m_work
    int m_wakesPending = 0; // of those, woken but not yet running
    bool m_loopWaiting = false;
    bool m_stopping = false;
};
