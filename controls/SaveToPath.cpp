// SPDX-License-Identifier: MIT
#include "controls/SaveToPath.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include <cerrno>
#include <csignal>
#include <ctime>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace {

bool Fail(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
    return false;
}

// The file's own error where it has one (a full disk says more than "could not write PNG
// data"), else what the writer said.
QString WriteFailure(const QFileDevice& file, const QString& writerReason)
{
    if (file.error() != QFileDevice::NoError || writerReason.isEmpty())
        return file.errorString();
    return writerReason;
}

// Blocks SIGPIPE on this thread while it lives, so that writing to a FIFO whose reader has
// gone fails with EPIPE instead of ending the program. A SIGPIPE raised meanwhile is taken
// off the pending set before the previous mask comes back.
class SigpipeHeld {
public:
    SigpipeHeld()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        m_blocked = pthread_sigmask(SIG_BLOCK, &m_pipe, &m_previous) == 0;
    }
    ~SigpipeHeld()
    {
        if (!m_blocked)
            return;
        sigset_t pending;
        sigemptyset(&pending);
        if (!sigismember(&m_previous, SIGPIPE) && sigpending(&pending) == 0
            && sigismember(&pending, SIGPIPE) == 1) {
            const timespec now { 0, 0 };
            while (sigtimedwait(&m_pipe, nullptr, &now) < 0 && errno == EINTR) { }
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    SigpipeHeld(const SigpipeHeld&) = delete;
    SigpipeHeld& operator=(const SigpipeHeld&) = delete;

private:
    sigset_t m_pipe;
    sigset_t m_previous;
    bool m_blocked = false;
};

bool SaveInPlace(const QString& path, const FileWriter& write, QString* reason)
{
    // O_NONBLOCK makes the open itself return at once: for a FIFO without a reader (and a
    // socket) it fails with ENXIO where a plain open would wait for a reader forever.
    const int fd
        = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Fail(reason, qt_error_string(errno));
    // Writing may wait again: for a reader that is there, at its pace.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) < 0) {
        const int error = errno;
        ::close(fd);
        return Fail(reason, qt_error_string(error));
    }
    // Declared first so that it outlives the file, whose closing may write too.
    const SigpipeHeld held;
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Fail(reason, file.errorString());
    }
    QString said;
    if (!write(file, &said) || !file.flush())
        return Fail(reason, WriteFailure(file, said));
    file.close();
    if (file.error() != QFileDevice::NoError)
        return Fail(reason, file.errorString());
    return true;
}

} // namespace

bool WriteWhole(QIODevice& device, const char* data, qint64 size)
{
    qint64 written = 0;
    while (written < size) {
        const qint64 n = device.write(data + written, size - written);
        if (n <= 0)
            return false;
        written += n;
    }
    return true;
}

bool SaveToPath(const QString& path, const FileWriter& write, QString* reason)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return SaveInPlace(path, write, reason);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Fail(reason, file.errorString());
    QString said;
    if (!write(file, &said)) {
        const QString failure = WriteFailure(file, said);
        file.cancelWriting();
        return Fail(reason, failure);
    }
    // commit() flushes, closes and renames; it keeps the target untouched and removes the
    // temporary file if any of these fail or if a write failed before.
    if (!file.commit())
        return Fail(reason, file.errorString());
    return true;
}
