// SPDX-License-Identifier: MIT
#include "scan/CScanProgressDlg.h"

#include <chrono>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QTimer>

#include "catalogue/PathSource.h"
#include "catalogue/ScanLoop.h"
#include "controls/CTransparentStatic.h"
#include "controls/DialogTemplate.h"
#include "controls/DrawGradient.h"

namespace {
constexpr int kIdCancel = 2;
constexpr int kIdTotal = 1018;
constexpr int kIdFile = 1019;

// The total label is wider than its caption needs so that a count of six digits shows
// whole in bold.
const DialogItem kProgressItems[] = {
    { kIdCancel, DialogItemKind::PushButton, "Cancel", 97, 36, 50, 14, Qt::AlignLeft, true },
    { kIdFile, DialogItemKind::TransparentStatic, "Static", 39, 7, 200, 8, Qt::AlignLeft, false },
    { -1, DialogItemKind::Static, "File:", 7, 7, 14, 8, Qt::AlignLeft, false },
    { -1, DialogItemKind::Static, "Total:", 7, 19, 19, 8, Qt::AlignLeft, false },
    { kIdTotal, DialogItemKind::TransparentStatic, "Static", 39, 19, 60, 8, Qt::AlignLeft, false },
};
const DialogTemplate kProgressTemplate
    = { "Scanning files...", 246, 57, kProgressItems, static_cast<int>(std::size(kProgressItems)) };

// The labels take the newest texts at every notice but repaint at the screen's pace: a
// repaint per file would cost more than reading the file.
constexpr int kRepaintIntervalMs = 40;
} // namespace

CScanProgressDlg::CScanProgressDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowFlags(
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const std::vector<QWidget*> items = BuildDialog(*this, kProgressTemplate);
    m_fileLabel = static_cast<CTransparentStatic*>(items[1]);
    m_totalLabel = static_cast<CTransparentStatic*>(items[4]);
    auto* cancel = items[0];
    connect(static_cast<QAbstractButton*>(cancel), &QAbstractButton::clicked, this,
        &CScanProgressDlg::reject);

    m_repaintTimer = new QTimer(this);
    m_repaintTimer->setInterval(kRepaintIntervalMs);
    connect(m_repaintTimer, &QTimer::timeout, this, &CScanProgressDlg::ShowPendingTexts);
}

CScanProgressDlg::~CScanProgressDlg()
{
    FinishWorker();
}

int CScanProgressDlg::exec()
{
    OnInitDialog();
    // The chooser opens once the progress dialog is up, from its own event loop.
    QTimer::singleShot(0, this, &CScanProgressDlg::ChooseItemsAndStart);
    const int result = QDialog::exec();
    // The run normally ends the loop with its last notice. When the application is told to
    // quit (the session ends) every event loop ends at once, the worker still running.
    FinishWorker();
    return result;
}

void CScanProgressDlg::FinishWorker()
{
    if (!m_worker.joinable())
        return;
    // The worker may be waiting for a notice to be handled on this thread, which must then
    // not simply wait for the worker: the notices are let through meanwhile, and the cancel
    // ends the run after the file being read (or the folder being looked through).
    if (m_catalogue->progressWindow)
        m_catalogue->cancelRequested = true;
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

void CScanProgressDlg::OnInitDialog()
{
    UpdateData(false);
    m_fileLabel->SetBold(true);
    m_totalLabel->SetBold(true);
    ClearRecords(*m_catalogue);
    m_catalogue->progressWindow = this;
    m_catalogue->cancelRequested = false;
    BeginScan(*m_catalogue);
}

void CScanProgressDlg::ChooseItemsAndStart()
{
    ScanItems items = m_chooseItems(this);
    if (items.empty()) {
        OnScanNotice(ScanClose);
        return;
    }
    m_repaintTimer->start();
    m_workerEnded = false;
    m_worker = std::thread([this, items = std::move(items)]() mutable {
        {
            const std::unique_ptr<PathSource> source = MakeScanSource(std::move(items));
            ScanChosenFiles(*m_catalogue, *source);
        }
        const std::lock_guard<std::mutex> lock(m_noticeMutex);
        m_workerEnded = true;
        m_noticeChange.notify_all();
    });
}

void CScanProgressDlg::Notice(int code)
{
    // Runs on the worker thread: the handler runs on the user-interface thread, and the
    // worker waits until it has. The hand-over is a mutex and a condition of the standard
    // library rather than Qt's blocking connection, so that a thread checker sees the order.
    std::unique_lock<std::mutex> lock(m_noticeMutex);
    m_noticeHandled = false;
    QMetaObject::invokeMethod(this, "HandleWorkerNotice", Qt::QueuedConnection, Q_ARG(int, code));
    m_noticeChange.wait(lock, [this] { return m_noticeHandled; });
}

void CScanProgressDlg::HandleWorkerNotice(int code)
{
    const std::lock_guard<std::mutex> lock(m_noticeMutex);
    OnScanNotice(code);
    m_noticeHandled = true;
    m_noticeChange.notify_all();
}

int CScanProgressDlg::OnScanNotice(int code)
{
    switch (code) {
    case ScanProgress:
        m_fileText = QFile::decodeName(QByteArray::fromStdString(m_catalogue->currentPath));
        m_totalText = QString::number(m_catalogue->recordCount);
        m_textsPending = true;
        break;
    case ScanFolder:
        m_fileText = QFile::decodeName(QByteArray::fromStdString(m_catalogue->currentPath));
        m_textsPending = true;
        break;
    case ScanDone:
        ShowPendingTexts();
        m_repaintTimer->stop();
        m_catalogue->progressWindow = nullptr;
        QDialog::accept();
        break;
    case ScanClose:
        ClearRecords(*m_catalogue);
        m_repaintTimer->stop();
        m_catalogue->progressWindow = nullptr;
        QDialog::reject();
        ShowPendingTexts();
        break;
    default:
        UpdateData(false);
        break;
    }
    emit NoticeHandled(code);
    return 1;
}

void CScanProgressDlg::ShowPendingTexts()
{
    if (!m_textsPending)
        return;
    m_textsPending = false;
    UpdateData(false);
}

void CScanProgressDlg::reject()
{
    m_catalogue->cancelRequested = true;
}

void CScanProgressDlg::UpdateData(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_fileText = m_fileLabel->text();
        m_totalText = m_totalLabel->text();
    } else {
        m_fileLabel->setText(m_fileText);
        m_totalLabel->setText(m_totalText);
    }
}

void CScanProgressDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawGradient(painter, rect(), qRgb(240, 240, 255), qRgb(208, 208, 223), kGradientRows);
}
