// SPDX-License-Identifier: MIT
// One scan run, without a window: it empties the catalogue, reads the chosen items on a
// worker thread and hands each notice of the worker (ScanNoticeCode) to the thread it
// lives on, where NoticeArrived is emitted while the worker waits, so that the two never touch
// the catalogue at the same time. At ScanDone the catalogue holds the run's photos; at
// ScanClose (a cancelled or dismissed run) it is empty.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include <QObject>

#include "catalogue/PhotoCatalogue.h"
#include "scan/ScanChoice.h"

class ScanRun : public QObject, private ScanNotifier {
    Q_OBJECT
public:
    explicit ScanRun(PhotoCatalogue& catalogue, QObject* parent = nullptr);
    ~ScanRun() override;

    // Empties the catalogue and makes this run the receiver of its notices.
    void Begin();
    // Reads items on the worker; no items end the run at once with ScanClose.
    void Start(ScanItems items);
    // Asks the worker to stop after the file being read (or the folder being looked through).
    void Cancel();
    // Cancels a run still going and waits for its worker, letting its notices through.
    void Finish();

signals:
    // On this object's thread, the worker waiting; the catalogue may be read meanwhile.
    void NoticeArrived(int code);

private:
    void Notice(int code) override; // ScanNotifier, on the worker
    void HandleNotice(int code);

    PhotoCatalogue& m_catalogue;
    std::thread m_worker;
    std::mutex m_noticeMutex;
    std::condition_variable m_noticeChange; // a notice handled, or the worker ended
    bool m_noticeHandled = false; // guarded by m_noticeMutex
    bool m_workerEnded = false; // guarded by m_noticeMutex
};
