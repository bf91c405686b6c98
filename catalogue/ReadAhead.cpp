// SPDX-License-Identifier: MIT
#include "catalogue/ReadAhead.h"

#include <sys/sysmacros.h>

#include <algorithm>
#include <system_error>

#include "catalogue/BlockDevice.h"
#include "catalogue/PathSource.h"

namespace {

// Queued files worth a wake-up: a reader woken for fewer would sleep again at once, and
// on a warm cache the wake-up would cost more than the read. The loop reads any file that
// no reader has taken, so leaving a few queued never stalls the stream.
std::uint64_t WakeBatch(std::size_t slots)
{
    return std::clamp<std::uint64_t>(slots / 4, 1, 8);
}

} // namespace

ReadAhead::ReadAhead(PathSource& paths, ReadAheadOptions options)
    : m_paths(paths)
    , m_read(std::move(options.read))
    , m_sizeByDisk(options.readers <= 0)
    , m_wakeBatch(WakeBatch(std::max<std::size_t>(options.slots, 1)))
    , m_slots(std::max<std::size_t>(options.slots, 1))
    , m_limit(m_sizeByDisk ? 1 : options.readers)
{
    // Left uninitialised: a buffer's pages are touched only by the reads into it.
    m_buffers.reset(new std::uint8_t[m_slots.size() * kExifReadSize]);
    for (std::size_t i = 0; i < m_slots.size(); ++i)
        m_slots[i].file.bytes = m_buffers.get() + i * kExifReadSize;
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
    while (!m_sourceDone && filled - (m_head + released) < m_slots.size()) {
        if (m_paths.Next(SlotOf(filled).file.path))
            ++filled;
        else
            m_sourceDone = true;
    }

    std::unique_lock<std::mutex> lock(m_mutex);
    m_head += released;
    for (std::uint64_t seq = m_tail; seq < filled; ++seq)
        SlotOf(seq).state = State::Queued;
    m_tail = filled;
    if (m_head == m_tail)
        return nullptr;

    Slot& head = SlotOf(m_head);
    // Readers take files in order: when the head is still queued, no later file is in
    // flight, and the loop reads the head itself rather than wait for a reader.
    const bool readHere = head.state == State::Queued;
    if (readHere) {
        ++m_nextTake;
        head.state = State::Reading;
        ++m_inFlight;
    }
    std::size_t start = WakeReaders(head.state == State::Reading && !readHere);
    lock.unlock();
    StartReaders(start);

    if (readHere) {
        const bool read = m_read(head.file.path, head.file.bytes, head.file.start);
        lock.lock();
        head.file.read = read;
        head.state = State::Done;
        --m_inFlight;
        start = WakeReaders(false);
        lock.unlock();
        StartReaders(start);
    } else {
        lock.lock();
        m_loopWaiting = true;
        m_headRead.wait(lock, [&head] { return head.state == State::Done; });
        m_loopWaiting = false;
        lock.unlock();
    }

    m_handedOut = true;
    if (m_sizeByDisk && head.file.read && head.file.start.device != m_lastDevice)
        UseReadersFor(head.file.start.device);
    return &head.file;
}

void ReadAhead::Stop()
{
    if (m_stopped)
        return;
    m_stopped = true;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_work.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
    m_threads.clear();
}

std::size_t ReadAhead::WakeReaders(bool loopWillWait)
{
    const std::uint64_t queued = m_tail - m_nextTake;
    if (queued == 0 || m_inFlight >= m_limit || (!loopWillWait && queued < m_wakeBatch))
        return 0;
    if (m_idle > 0) {
        // While the loop sleeps, every reader may as well work.
        if (loopWillWait)
            m_work.notify_all();
        else
            m_work.notify_one();
        return 0;
    }
    const std::size_t limit = static_cast<std::size_t>(m_limit);
    if (m_startFailed || m_threads.size() >= limit)
        return 0;
    return static_cast<std::size_t>(std::min<std::uint64_t>(limit - m_threads.size(), queued));
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

void ReadAhead::ReaderMain()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        while (!m_stopping && (m_nextTake == m_tail || m_inFlight >= m_limit)) {
            ++m_idle;
            m_work.wait(lock);
            --m_idle;
        }
        if (m_stopping)
            return;
        const std::uint64_t seq = m_nextTake++;
        Slot& slot = SlotOf(seq);
        slot.state = State::Reading;
        ++m_inFlight;
        // Pass the wake-up on while a backlog is left, so that one call fills the pool.
        if (m_idle > 0 && m_inFlight < m_limit && m_tail - m_nextTake >= m_wakeBatch)
            m_work.notify_one();
        lock.unlock();
        const bool read = m_read(slot.file.path, slot.file.bytes, slot.file.start);
        lock.lock();
        slot.file.read = read;
        slot.state = State::Done;
        --m_inFlight;
        if (m_loopWaiting && seq == m_head)
            m_headRead.notify_one();
    }
}

void ReadAhead::UseReadersFor(std::uint64_t device)
{
    m_lastDevice = device;
    int readers = 0;
    for (const auto& [known, count] : m_readersByDevice) {
        if (known == device)
            readers = count;
    }
    if (readers == 0) {
        const dev_t id = static_cast<dev_t>(device);
        readers = IsSpinningDisk("/sys", major(id), minor(id)) ? 1 : kFullPoolReaders;
        m_readersByDevice.emplace_back(device, readers);
    }
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (readers > m_limit && m_idle > 0)
        m_work.notify_all();
    m_limit = readers;
}
