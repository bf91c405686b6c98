// SPDX-License-Identifier: MIT
#include "controls/SaveProgress.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <atomic>
#include <iterator>
#include <thread>
#include <utility>

#include "controls/CTransparentStatic.h"
#include "controls/DialogTemplate.h"
#include "controls/DrawGradient.h"

namespace {
constexpr int kIdCancel = 2;
constexpr int kIdFile = 1019;
constexpr int kIdWritten = 1018;

const DialogItem kSaveItems[] = {
    { kIdCancel, DialogItemKind::PushButton, "Cancel", 97, 36, 50, 14, Qt::AlignLeft, true },
    { kIdFile, DialogItemKind::TransparentStatic, "", 39, 7, 200, 8, Qt::AlignLeft, false },
    { -1, DialogItemKind::Static, "File:", 7, 7, 14, 8, Qt::AlignLeft, false },
    { -1, DialogItemKind::Static, "Written:", 7, 19, 30, 8, Qt::AlignLeft, false },
    { kIdWritten, DialogItemKind::TransparentStatic, "", 39, 19, 100, 8, Qt::AlignLeft, false },
};
const DialogTemplate kSaveTemplate
    = { "Saving file...", 246, 57, kSaveItems, static_cast<int>(std::size(kSaveItems)) };

// The count of bytes written follows at this pace, in milliseconds.
constexpr int kRefreshMs = 100;
// How often the window looks whether the save has finished, in milliseconds.
constexpr int kLookMs = 10;
} // namespace

SaveProgressDlg::SaveProgressDlg(QWidget* parent, const QString& path, SaveControl& control)
    : QDialog(parent)
    , m_control(control)
{
    setWindowFlags(
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const std::vector<QWidget*> items = BuildDialog(*this, kSaveTemplate);
    m_cancelButton = static_cast<QPushButton*>(items[0]);
    m_fileLabel = static_cast<CTransparentStatic*>(items[1]);
    m_writtenLabel = static_cast<CTransparentStatic*>(items[4]);
    m_fileLabel->SetBold(true);
    m_writtenLabel->SetBold(true);
    // A long path keeps its start and its file name.
    m_fileLabel->setText(
        QFontMetrics(m_fileLabel->font()).elidedText(path, Qt::ElideMiddle, m_fileLabel->width()));
    m_fileLabel->setToolTip(path);
    connect(m_cancelButton, &QAbstractButton::clicked, this, &SaveProgressDlg::reject);
    m_timer = new QTimer(this);
    m_timer->setInterval(kRefreshMs);
    connect(m_timer, &QTimer::timeout, this, &SaveProgressDlg::ShowWritten);
    m_timer->start();
    ShowWritten();
}

void SaveProgressDlg::reject()
{
    m_control.Cancel();
    m_cancelButton->setEnabled(false);
}

void SaveProgressDlg::ShowWritten()
{
    m_writtenLabel->setText(QLocale().formattedDataSize(m_control.Written()));
}

void SaveProgressDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawGradient(painter, rect(), qRgb(240, 240, 255), qRgb(208, 208, 223), kGradientRows);
}

SaveOutcome SaveWithProgress(
    QWidget* parent, const QString& path, FileWriter write, QString* reason, int showAfterMs)
{
    SaveControl control;
    SaveProgressDlg box(parent, path, control);
    QEventLoop waiting;
    std::atomic<bool> finished { false };
    bool saved = false;
    QString failure;

    // The worker says only through the flag that it has finished, and this thread looks at
    // it at a steady pace: nothing crosses between the threads but the flag and the join.
    std::thread worker([&] {
        saved = SaveToPath(path, write, &failure, &control);
        finished = true;
    });
    QTimer look;
    look.setInterval(kLookMs);
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (!finished)
            return;
        waiting.quit();
        box.done(QDialog::Accepted);
    });
    look.start();

    // At first only repaints and the window system's events: the user's input waits, so that
    // nothing changes what is being saved.
    if (!finished) {
        QTimer::singleShot(showAfterMs, &waiting, &QEventLoop::quit);
        waiting.exec(QEventLoop::ExcludeUserInputEvents);
    }
    // Modal, so that the window takes no input, no drop and no second save meanwhile. An
    // application told to quit returns from exec at once.
    if (!finished)
        box.exec();
    look.stop();
    if (!finished)
        control.Cancel();
    worker.join();

    if (saved)
        return SaveOutcome::Saved;
    if (control.Cancelled())
        return SaveOutcome::Cancelled;
    if (reason)
        *reason = failure;
    return SaveOutcome::Failed;
}
