// SPDX-License-Identifier: MIT
#include "scan/ScanRun.h"

#include <chrono>
#include <memory>
#include <utility>

#include <QCoreApplication>

#include "catalogue/PathSource.h"
#include "catalogue/ScanLoop.h"

ScanRun::ScanRun(PhotoCatalogue& catalogue, QObject* parent)
    : QObject(parent)
    , m_catalogue(catalogue)
{
}

ScanRun::~ScanRun()
{
    Finish();
}

void ScanRun::Begin()
{
    ClearRecords(m_catalogue);
    m_catalogue.progressWindow = this;
    m_catalogue.cancelRequested = false;
    BeginScan(m_catalogue);
}

void ScanRun::Start(ScanItems items)
{
    if (items.empty()) {
        HandleNotice(ScanClose);
        return;
    }
    m_workerEnded = false;
    m_worker = std::thread([this, items = std::move(items)]() mutable {
        {
            const std::unique_ptr<PathSource> source = MakeScanSource(std::move(items));
            ScanChosenFiles(m_catalogue, *source);
        }
        const std::lock_guard<std::mutex> lock(m_noticeMutex);
        m_workerEnded = true;
        m_noticeChange.notify_all();
    });
}

void ScanRun::Cancel()
{
    m_catalogue.cancelRequested = true;
}

void ScanRun::Finish()
{
    if (!m_worker.joinable())
        return;
    // The worker may be waiting for a notice to be handled on this thread, which must then
    // not simply wait for the worker: the notices are let through meanwhile, and the cancel
    // ends the run after the file being read (or the folder being looked through).
    if (m_catalogue.progressWindow)
        Cancel();
    constexpr auto kWaitStep = std::chrono::milliseconds(10);
    for (;;) {
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        std::unique_lock<std::mutex> lock(m_noticeMutex);
        if (m_workerEnded)
            break;
        m_noticeChange.wait_for(lock, kWaitStep);
    }
    m_worker.join();
}

void ScanRun::Notice(int code)
{
    // Runs on the worker thread: the handler runs on this object's thread, and the worker
    // waits until it has. The hand-over is a mutex and a condition of the standard library
    // rather than Qt's blocking connection, so that a thread checker sees the order.
    std::unique_lock<std::mutex> lock(m_noticeMutex);
    m_noticeHandled = false;
    QMetaObject::invokeMethod(
        this,
        [this, code] {
            const std::lock_guard<std::mutex> handling(m_noticeMutex);
            HandleNotice(code);
            m_noticeHandled = true;
            m_noticeChange.notify_all();
        },
        Qt::QueuedConnection);
    m_noticeChange.wait(lock, [this] { return m_noticeHandled; });
}

void ScanRun::HandleNotice(int code)
{
    if (code == ScanClose)
        ClearRecords(m_catalogue);
    if (code == ScanDone || code == ScanClose)
        m_catalogue.progressWindow = nullptr;
    emit NoticeArrived(code);
}
