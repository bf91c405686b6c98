// SPDX-License-Identifier: MIT
#include "catalogue/ReadLimit.h"

#include <algorithm>

int DiskWatch::LookAt(long blocks)
{
    // 512-byte blocks read over the last 8 reads: the start of a photo that is not in
    // the cache costs 64 or more (the kernel reads ahead), a folder or inode block read
    // back after the cache dropped it 8. Fewer than 32 a read on average is such a
    // trickle, and does not count.
    const bool reached = blocks - m_blocks >= 8 * 32;
    m_blocks = blocks;
    return reached ? 1 : -1;
}

int DeviceReads::ReadsOf(std::uint64_t device)
{
    for (const auto& [known, reads] : m_known) {
        if (known == device)
            return reads;
    }
    const int reads = m_isSpinning(device) ? 1 : kDiskReads;
    m_known.emplace_back(device, reads);
    return reads;
}

bool ReadLimit::TakeDevice(int deviceReads)
{
    if (!m_sizedByDisk)
        return false;
    m_deviceReads = deviceReads;
    return SetLimit();
}

bool ReadLimit::TakeLook(int look)
{
    if (!m_sizedByDisk)
        return false;
    if (look > 0)
        m_quietLooks = 0;
    else if (look < 0)
        ++m_quietLooks;
    const bool readsReachDisk = look > 0 || (m_readsReachDisk && m_quietLooks < 4);
    if (readsReachDisk == m_readsReachDisk)
        return false;
    m_readsReachDisk = readsReachDisk;
    return SetLimit();
}

bool ReadLimit::SetLimit()
{
    const int limit = m_readsReachDisk ? m_deviceReads : std::min(kCachedReads, m_deviceReads);
    const bool grew = limit > m_limit;
    m_limit = limit;
    return grew;
}
