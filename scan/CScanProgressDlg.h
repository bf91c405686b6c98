// SPDX-License-Identifier: MIT
// The modal "Scanning files..." dialog of a scan run. It empties the catalogue, asks its
// chooser for the items to read (the open dialog unless told otherwise), reads them on a
// worker thread and shows the file just handled and the number of photos so far. The worker reports
// after every file with a blocking call that runs on the user-interface thread while the worker
// waits, so the two never touch the catalogue at the same time. exec() returns Accepted after a
// completed run and Rejected after a cancelled one or a dismissed chooser; when the
// application is told to quit meanwhile, it cancels the run and returns once the worker has
// ended.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

#include <QDialog>
#include <QString>

#include "catalogue/PhotoCatalogue.h"
#include "scan/ScanChoice.h"

class CTransparentStatic;
class QPaintEvent;
class QTimer;

class CScanProgressDlg : public QDialog, private ScanNotifier {
    Q_OBJECT
public:
    explicit CScanProgressDlg(QWidget* parent = nullptr);
    ~CScanProgressDlg() override;

    int exec() override;

    CTransparentStatic* m_totalLabel = nullptr;
    CTransparentStatic* m_fileLabel = nullptr;
    QString m_fileText;
    QString m_totalText;
    PhotoCatalogue* m_catalogue = nullptr; // set by the caller before exec()
    ScanChooser m_chooseItems = ChoosePhotoFiles; // may be replaced before exec()

    // Handles one notice of the worker on the user-interface thread; returns 1.
    Q_INVOKABLE int OnScanNotice(int code);

signals:
    // Emitted after a notice was handled (tests and the benchmark watch the run with it).
    void NoticeHandled(int code);

public slots:
    // Cancel, Escape and the close box only ask the worker to stop after its file.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnInitDialog();
    void ChooseItemsAndStart();
    void UpdateData(bool saveAndValidate);
    void ShowPendingTexts();
    void Notice(int code) override;
    // Cancels a run still going and waits for its worker, letting its notices through.
    void FinishWorker();

    // Handles a notice on the user-interface thread and lets the waiting worker go on.
    Q_INVOKABLE void HandleWorkerNotice(int code);

    std::thread m_worker;
    std::mutex m_noticeMutex;
    std::condition_variable m_noticeChange; // a notice handled, or the worker ended
    bool m_noticeHandled = false; // guarded by m_noticeMutex
    bool m_workerEnded = false; // guarded by m_noticeMutex
    QTimer* m_repaintTimer = nullptr;
    bool m_textsPending = false;
};
