// SPDX-License-Identifier: MIT
#include "bench/OpenDialogCommand.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>

#include <cstdio>

#include "bench/BenchApplication.h"
#include "scan/ScanChoice.h"

namespace {
// Notes when the first Ctrl+A and the first Enter reach any widget.
class KeyClock : public QObject {
public:
    explicit KeyClock(const QElapsedTimer& clock)
        : m_clock(clock)
    {
    }
    qint64 selectAllAt = -1, enterAt = -1; // nanoseconds on the clock

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (selectAllAt < 0 && key->matches(QKeySequence::SelectAll))
                selectAllAt = m_clock.nsecsElapsed();
            if (enterAt < 0 && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
                enterAt = m_clock.nsecsElapsed();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QElapsedTimer& m_clock;
};
} // namespace

int RunOpenDialogCommand(int argc, char**)
{
    if (argc != 0) {
        std::fprintf(stderr, "usage: fotolot-bench open-dialog (in the folder to show)\n");
        return 2;
    }
    const BenchApplication application;

    QElapsedTimer clock;
    clock.start();
    KeyClock keys(clock);
    qApp->installEventFilter(&keys);
    const ScanItems items = ChoosePhotoFiles(nullptr);
    const qint64 doneAt = clock.nsecsElapsed();
    const auto secondsSince = [doneAt](qint64 at) { return at < 0 ? -1.0 : (doneAt - at) / 1e9; };
    std::printf("%zu files handed over: %.3f s after Ctrl+A, %.3f s after Enter\n", items.size(),
        secondsSince(keys.selectAllAt), secondsSince(keys.enterAt));
    return 0;
}
