// SPDX-License-Identifier: MIT
#include "catalogue/ReadAhead.h"

#include <sys/resource.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <chrono>
#include <system_error>

#include "catalogue/BlockDevice.h"
#include "catalogue/PathSource.h"

namespace {

// Queued files worth a wake-up: a reader woken for fewer would sleep again at once, and
// on a warm cache the wake-up would cost more than the read. The loop reads any file that
// no reader has taken, so leaving a few queued never stalls the stream.
std::uint64_t WakeBatch(std::size_t ringSize)
{
    return std::clamp<std::uint64_t>(ringSize / 4, 1, 8);
}

// A stream slower than this (a walk through folders without photos) is not waited on
// longer for more paths once one is queued: the file found is handed out first.
constexpr std::chrono::milliseconds kFillTime { 20 };

long BlocksReadByThisThread()
{
    rusage usage {};
    return getrusage(RUSAGE_THREAD, &usage) == 0 ? usage.ru_inblock : 0;
}

} // namespace

ReadAhead::ReadAhead(PathSource& paths, ReadAheadOptions options)
    : m_paths(paths)
    , m_read(std::move(options.read))
    , m_cancel(options.cancel)
    , m_slots(std::max<std::size_t>(options.ringSize, 1))
    , m_wakeBatch(WakeBatch(m_slots.size()))
    , m_deviceReads([](std::uint64_t device) {
        const dev_t id = static_cast<dev_t>(device);
        return IsSpinningDisk("/sys", major(id), minor(id));
    })
    , m_loopWatch(BlocksReadByThisThread())
    , m_limit(options.reads)
{
    // One allocation per buffer, left uninitialised: a buffer's pages are touched only by
    // the reads into it. Buffers carved out of one large block made every copy into them
    // several times slower on the development machine.
    m_buffers.reserve(m_slots.size());
    m_freeBuffers.reserve(m_slots.size());
    for (std::size_t i = 0; i < m_slots.size(); ++i) {
        m_buffers.emplace_back(new std::uint8_t[kFileStartBufferSize]);
        m_freeBuffers.push_back(m_buffers.back().get());
    }
}

ReadAhead::~ReadAhead()
{
    Stop();
}

const ReadAhead::File* ReadAhead::Next()
{
    if (m_stopped)
        return nullptr;
    // Paths go into the free slots (the one handed out last among them) before they are
    // published: no reader looks at a slot outside [m_nextTake, m_tail).
    const std::uint64_t released = m_handedOut ? 1 : 0;
    m_handedOut = false;
    std::uint64_t filled = m_tail;
    const auto fillStart = std::chrono::steady_clock::now();
    while (!m_sourceDone && filled - (m_head + released) < m_slots.size()) {
        if (filled > m_head + released
            && ((m_cancel && m_cancel->load())
                || std::chrono::steady_clock::now() - fillStart > kFillTime))
            break;
        if (m_paths.Next(SlotOf(filled).file.path))
            ++filled;
        else
            m_sourceDone = true;
    }

    std::unique_lock<std::mutex> lock(m_mutex);
    if (released != 0)
        m_freeBuffers.push_back(SlotOf(m_head).file.bytes);
    m_head += released;
    for (std::uint64_t seq = m_tail; seq < filled; ++seq)
        SlotOf(seq).state = State::Queued;
    m_tail = filled;
    if (m_head == m_tail)
        return nullptr;

    Slot& head = SlotOf(m_head);
    std::size_t start = WakeReaders();
    if (start > 0) {
        lock.unlock();
        StartReaders(start);
        lock.lock();
    }
    // Until the head is read the loop reads queued files itself rather than sleep: the
    // head first when no reader has taken it (readers take files in order, so then none
    // after it is in flight either), otherwise the next ones. Once reads reach the disk it
    // reads only the head: a later file could keep it waiting for the disk while the head
    // is ready.
    while (head.state != State::Done) {
        if (m_nextTake < m_tail && m_inFlight < m_limit.Limit()
            && (m_nextTake == m_head || !m_limit.ReadsReachDisk())) {
            ReadFirstQueued(lock, m_loopWatch);
            continue;
        }
        m_loopWaiting = true;
        m_headRead.wait(lock, [&head] { return head.state == State::Done; });
        m_loopWaiting = false;
    }
    start = WakeReaders();
    lock.unlock();
    StartReaders(start);

    m_handedOut = true;
    if (m_limit.SizedByDisk() && head.file.read && head.file.start.device != m_lastDevice)
        SizeForDevice(head.file.start.device);
    return &head.file;
}

void ReadAhead::Stop()
{
    BeginStop();
    Join();
}

void ReadAhead::BeginStop()
{
    if (m_stopped)
        return;
    m_stopped = true;
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_stopping = true;
    WakeAllReaders();
}

void ReadAhead::Join()
{
    for (std::thread& thread : m_threads)
        thread.join();
    m_threads.clear();
}

std::size_t ReadAhead::WakeReaders()
{
    const std::uint64_t queued = m_tail - m_nextTake;
    if (queued < m_wakeBatch || m_inFlight >= m_limit.Limit())
        return 0;
    if (m_idle > 0) {
        WakeOneReader();
        return 0;
    }
    const std::size_t pool = static_cast<std::size_t>(std::max(1, m_limit.Limit() - 1));
    if (m_startFailed || m_threads.size() >= pool)
        return 0;
    return static_cast<std::size_t>(std::min<std::uint64_t>(pool - m_threads.size(), queued));
}

void ReadAhead::WakeOneReader()
{
    // A reader already woken but not yet running must not be woken again: each call
    // costs a system call.
    if (m_idle > m_wakesPending) {
        ++m_wakesPending;
        m_work.notify_one();
    }
}

void ReadAhead::WakeAllReaders()
{
    m_wakesPending = m_idle;
    m_work.notify_all();
}

void ReadAhead::StartReaders(std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        try {
            m_threads.emplace_back(&ReadAhead::ReaderMain, this);
        } catch (const std::system_error&) {
            // Out of threads: the loop reads whatever no reader takes.
            m_startFailed = true;
            return;
        }
    }
}

std::uint64_t ReadAhead::ReadFirstQueued(std::unique_lock<std::mutex>& lock, DiskWatch& watch)
{
    const std::uint64_t seq = m_nextTake++;
    Slot& slot = SlotOf(seq);
    slot.state = State::Reading;
    slot.file.bytes = m_freeBuffers.back();
    m_freeBuffers.pop_back();
    ++m_inFlight;
    lock.unlock();
    const bool read = m_read(slot.file.path, slot.file.bytes, slot.file.start);
    const int look = m_limit.SizedByDisk() ? watch.Look(BlocksReadByThisThread) : 0;
    lock.lock();
    slot.file.read = read;
    slot.state = State::Done;
    --m_inFlight;
    if (m_limit.TakeLook(look))
        WakeAllReaders();
    return seq;
}

void ReadAhead::ReaderMain()
{
    DiskWatch watch(BlocksReadByThisThread());
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        while (!m_stopping && (m_nextTake == m_tail || m_inFlight >= m_limit.Limit())) {
            ++m_idle;
            m_work.wait(lock);
            --m_idle;
            if (m_wakesPending > 0)
                --m_wakesPending;
        }
        if (m_stopping)
            return;
        // Pass the wake-up on while a backlog is left, so that one call fills the pool.
        if (m_inFlight + 1 < m_limit.Limit() && m_tail - m_nextTake > m_wakeBatch)
            WakeOneReader();
        const std::uint64_t seq = ReadFirstQueued(lock, watch);
        if (m_loopWaiting && seq == m_head)
            m_headRead.notify_one();
    }
}

void ReadAhead::SizeForDevice(std::uint64_t device)
{
    m_lastDevice = device;
    const int reads = m_deviceReads.ReadsOf(device);
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_limit.TakeDevice(reads))
        WakeAllReaders();
}
