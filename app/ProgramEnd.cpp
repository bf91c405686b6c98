// SPDX-License-Identifier: MIT
#include "app/ProgramEnd.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int kEndSignals[] = { SIGTERM, SIGINT, SIGHUP };

// The self-pipe: [0] read by the user-interface thread, [1] written by the handler.
int g_pipe[2] = { -1, -1 };

extern "C" void OnEndSignal(int signal)
{
    // Only async-signal-safe calls: a write that never blocks, errno left as it was.
    const int savedErrno = errno;
    const char number = static_cast<char>(signal);
    (void)!::write(g_pipe[1], &number, 1);
    errno = savedErrno;
}
} // namespace

ProgramEnd::ProgramEnd()
{
    QCoreApplication::instance()->installEventFilter(this);
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ProgramEnd::OnSignal);
    struct sigaction action { };
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kEndSignals)
        ::sigaction(number, &action, nullptr);
}

ProgramEnd::~ProgramEnd()
{
    for (const int number : kEndSignals)
        ::signal(number, SIG_DFL);
    delete m_notifier;
    for (int& fd : g_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void ProgramEnd::OnSignal()
{
    char numbers[16];
    while (::read(g_pipe[0], numbers, sizeof numbers) > 0) { }
    End();
}

bool ProgramEnd::eventFilter(QObject* watched, QEvent* event)
{
    // The application's own quit would first ask every window to close, and a progress box
    // refuses that while its work runs: the work is cancelled instead and the program ends.
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
        End();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void ProgramEnd::End()
{
    // Every event loop ends, the nested ones of a scan or a save first: each cancels its
    // work on the way out, and no new loop starts.
    QCoreApplication::exit(0);
}
