// SPDX-License-Identifier: MIT
#include "scan/CScanProgressDlg.h"

#include <QByteArray>
#include <QFile>
#include <QTimer>

#include "catalogue/PhotoCatalogue.h"
#include "controls/CTransparentStatic.h"
#include "scan/ScanRun.h"

namespace {
// The labels take the newest texts at every notice but repaint at the screen's pace: a
// repaint per file would cost more than reading the file.
constexpr int kRepaintIntervalMs = 40;
} // namespace

CScanProgressDlg::CScanProgressDlg(QWidget* parent)
    : ProgressBox(Task::Scan, parent)
{
    m_repaintTimer = new QTimer(this);
    m_repaintTimer->setInterval(kRepaintIntervalMs);
    connect(m_repaintTimer, &QTimer::timeout, this, &CScanProgressDlg::ShowPendingTexts);
}

CScanProgressDlg::~CScanProgressDlg()
{
    delete m_run;
}

int CScanProgressDlg::exec()
{
    UpdateData(false);
    m_run = new ScanRun(*m_catalogue);
    connect(m_run, &ScanRun::NoticeArrived, this, &CScanProgressDlg::OnScanNotice);
    connect(this, &ProgressBox::CancelPressed, m_run, &ScanRun::Cancel);
    m_run->Begin();
    // The chooser opens once the box is up, from its own event loop.
    QTimer::singleShot(0, this, &CScanProgressDlg::ChooseItemsAndStart);
    const int result = QDialog::exec();
    // The run normally ends the loop with its last notice. When the application is told to
    // quit (the session ends) every event loop ends at once, the worker still running.
    m_run->Finish();
    return result;
}

void CScanProgressDlg::ChooseItemsAndStart()
{
    ScanItems items = m_chooseItems(this);
    if (!items.empty())
        m_repaintTimer->start();
    m_run->Start(std::move(items));
}

void CScanProgressDlg::OnScanNotice(int code)
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
        QDialog::accept();
        break;
    case ScanClose:
        m_repaintTimer->stop();
        QDialog::reject();
        ShowPendingTexts();
        break;
    default:
        UpdateData(false);
        break;
    }
    emit NoticeHandled(code);
}

void CScanProgressDlg::ShowPendingTexts()
{
    if (!m_textsPending)
        return;
    m_textsPending = false;
    UpdateData(false);
}

void CScanProgressDlg::UpdateData(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_fileText = m_fileLabel->text();
        m_totalText = m_countLabel->text();
    } else {
        m_fileLabel->setText(m_fileText);
        m_countLabel->setText(m_totalText);
    }
}
