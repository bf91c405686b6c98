// SPDX-License-Identifier: MIT
#include "controls/SaveProgress.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <utility>

#include "controls/CTransparentStatic.h"
#include "controls/ProgressBox.h"

namespace {
// The count of bytes written follows at this pace, in milliseconds.
constexpr int kRefreshMs = 100;
// How often the window looks whether the save has finished, in milliseconds.
constexpr int kLookMs = 10;

// What the worker and the window share. The worker holds it too, so that a worker left to
// end on its own after the window gave up on it never outlives what it writes to.
struct SaveRun {
    SaveRun(const QString& target, FileWriter writer)
        : path(target)
        , write(std::move(writer))
    {
    }
    const QString path;
    const FileWriter write;
    SaveControl control;
    std::atomic<bool> finished { false };
    bool saved = false; // read once finished
    QString failure; // read once finished
};

void ShowWritten(ProgressBox& box, const SaveControl& control)
{
    box.m_countLabel->setText(QLocale().formattedDataSize(control.Written()));
}

// Waits up to kSaveAbandonMs for a cancelled save to end.
bool WaitForEnd(const SaveRun& run)
{
    constexpr auto kStep = std::chrono::milliseconds(10);
    for (int waited = 0; waited < kSaveAbandonMs && !run.finished; waited += 10)
        std::this_thread::sleep_for(kStep);
    return run.finished;
}
} // namespace

SaveOutcome SaveWithProgress(
    QWidget* parent, const QString& path, FileWriter write, QString* reason, int showAfterMs)
{
    const auto run = std::make_shared<SaveRun>(path, std::move(write));
    ProgressBox box(ProgressBox::Task::Save, parent);
    // A long path keeps its start and its file name.
    box.m_fileLabel->setText(QFontMetrics(box.m_fileLabel->font())
                                 .elidedText(path, Qt::ElideMiddle, box.m_fileLabel->width()));
    box.m_fileLabel->setToolTip(path);
    QObject::connect(&box, &ProgressBox::CancelPressed, &box, [&box, &run] {
        run->control.Cancel();
        box.m_cancelButton->setEnabled(false);
    });
    QTimer refresh;
    refresh.setInterval(kRefreshMs);
    QObject::connect(
        &refresh, &QTimer::timeout, &box, [&box, &run] { ShowWritten(box, run->control); });
    refresh.start();
    ShowWritten(box, run->control);

    // The worker says only through the flag that it has finished, and this thread looks at
    // it at a steady pace: nothing crosses between the threads but the flag and the join.
    std::thread worker([run] {
        run->saved = SaveToPath(run->path, run->write, &run->failure, &run->control);
        run->finished = true;
    });
    QEventLoop waiting;
    QTimer look;
    look.setInterval(kLookMs);
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (!run->finished)
            return;
        waiting.quit();
        box.done(QDialog::Accepted);
    });
    look.start();

    // At first only repaints and the window system's events: the user's input waits, so that
    // nothing changes what is being saved.
    if (!run->finished) {
        QTimer::singleShot(showAfterMs, &waiting, &QEventLoop::quit);
        waiting.exec(QEventLoop::ExcludeUserInputEvents);
    }
    // Modal, so that the window takes no input, no drop and no second save meanwhile. An
    // application told to quit returns from exec at once, the save unfinished.
    if (!run->finished)
        box.exec();
    look.stop();
    if (!run->finished) {
        run->control.Cancel();
        if (!WaitForEnd(*run) && run->control.Abandon()) {
            worker.detach();
            return SaveOutcome::Cancelled;
        }
    }
    worker.join();

    if (run->saved)
        return SaveOutcome::Saved;
    if (run->control.Cancelled())
        return SaveOutcome::Cancelled;
    if (reason)
        *reason = run->failure;
    return SaveOutcome::Failed;
}
