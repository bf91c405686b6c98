// SPDX-License-Identifier: MIT
#include "controls/SaveToPath.h"

#include <QFile>
#include <QIODevice>
#include <QRandomGenerator>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

SaveFileCalls g_calls;

ssize_t CallWrite(int fd, const void* data, size_t size)
{
    return g_calls.write ? g_calls.write(fd, data, size) : ::write(fd, data, size);
}

int CallFsync(int fd)
{
    return g_calls.fsync ? g_calls.fsync(fd) : ::fsync(fd);
}

bool Fail(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
    return false;
}

bool FailErrno(QString* reason, int error)
{
    return Fail(reason, qt_error_string(error));
}

// Blocks SIGPIPE and SIGXFSZ on this thread while it lives, so that writing to a FIFO whose
// reader has gone fails with EPIPE and writing past a file-size limit with EFBIG, instead of
// ending the program. Such a signal raised meanwhile is taken off the pending set before
// the previous mask comes back.
class SignalsHeld {
public:
    SignalsHeld()
    {
        sigemptyset(&m_held);
        sigaddset(&m_held, SIGPIPE);
        sigaddset(&m_held, SIGXFSZ);
        m_blocked = pthread_sigmask(SIG_BLOCK, &m_held, &m_previous) == 0;
    }
    ~SignalsHeld()
    {
        if (!m_blocked)
            return;
        for (const int signal : { SIGPIPE, SIGXFSZ }) {
            sigset_t pending;
            sigemptyset(&pending);
            if (sigismember(&m_previous, signal) || sigpending(&pending) != 0
                || sigismember(&pending, signal) != 1)
                continue;
            sigset_t one;
            sigemptyset(&one);
            sigaddset(&one, signal);
            const timespec now { 0, 0 };
            while (sigtimedwait(&one, nullptr, &now) < 0 && errno == EINTR) { }
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t m_held;
    sigset_t m_previous;
    bool m_blocked = false;
};

// Bytes handed to one write call at most, so that a cancel is seen between them.
constexpr qint64 kChunkBytes = 64 * 1024;

// An unbuffered device over a descriptor opened for writing: every byte written has been
// handed to the system when write returns, and the system's reason for a failure is the
// device's errorString. A descriptor without room (a FIFO whose reader is slow, opened
// without blocking) is waited on until it has room or the save is cancelled.
class DescriptorSink : public QIODevice {
public:
    DescriptorSink(int fd, SaveControl* control)
        : m_fd(fd)
        , m_control(control)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    int Error() const { return m_error; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        qint64 done = 0;
        while (done < size) {
            if (m_control && m_control->Cancelled())
                return Failed(ECANCELED);
            const qint64 chunk = std::min(size - done, kChunkBytes);
            const ssize_t n = CallWrite(m_fd, data + done, static_cast<size_t>(chunk));
            if (n > 0) {
                done += n;
                if (m_control)
                    m_control->AddWritten(n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                WaitForRoom();
                continue;
            }
            // A write that takes nothing without saying why: the device is full.
            return Failed(n == 0 ? ENOSPC : errno);
        }
        return done;
    }

private:
    qint64 Failed(int error)
    {
        m_error = error;
        setErrorString(error == ECANCELED ? SaveCancelledReason() : qt_error_string(error));
        return -1;
    }
    void WaitForRoom()
    {
        pollfd fds[2] = { { m_fd, POLLOUT, 0 }, { -1, POLLIN, 0 } };
        const int wake = m_control ? m_control->WakeDescriptor() : -1;
        fds[1].fd = wake;
        const int timeout = m_control && wake < 0 ? 50 : -1;
        // Ends when there is room, the reader has gone (the next write says so) or the save
        // is cancelled (the next round says so).
        while (::poll(fds, wake >= 0 ? 2 : 1, timeout) < 0 && errno == EINTR) { }
    }

    int m_fd;
    SaveControl* m_control;
    int m_error = 0;
};

// The device's reason where the writer's own write failed; else what the writer said.
QString WriteFailure(const DescriptorSink& sink, const QString& writerReason)
{
    if (sink.Error() != 0 || writerReason.isEmpty())
        return sink.errorString().isEmpty() ? qt_error_string(EIO) : sink.errorString();
    return writerReason;
}

int CloseChecked(int fd)
{
    // Linux closes the descriptor even when close reports an error: never retried.
    return ::close(fd) == 0 ? 0 : (errno == EINTR ? 0 : errno);
}

bool SaveToSpecialFile(
    const QByteArray& target, const FileWriter& write, QString* reason, SaveControl* control)
{
    // O_NONBLOCK makes the open return at once: for a FIFO without a reader (and a socket)
    // it fails with ENXIO where a plain open would wait for a reader forever. It stays on:
    // a write that finds no room waits in poll, where a cancel can reach it.
    const int fd = ::open(target.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return FailErrno(reason, errno);
    DescriptorSink sink(fd, control);
    QString said;
    const bool written = write(sink, &said);
    const QString failure = written ? QString() : WriteFailure(sink, said);
    const int closeError = CloseChecked(fd);
    if (!written)
        return Fail(reason, failure);
    if (closeError != 0)
        return FailErrno(reason, closeError);
    return true;
}

// The most bytes of old content kept in memory while a file is rewritten in place, and the
// most bytes of new content made ready before it is written.
constexpr qint64 kMostKeptBytes = qint64(1) << 30;

// A device that gathers what a writer writes, up to kMostKeptBytes; beyond that the write
// fails with the system's words for a file too large.
class MemorySink : public QIODevice {
public:
    MemorySink() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    bool isSequential() const override { return true; }
    const QByteArray& Bytes() const { return m_bytes; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (size > kMostKeptBytes - m_bytes.size()) {
            setErrorString(qt_error_string(EFBIG));
            return -1;
        }
        m_bytes.append(data, size);
        return size;
    }

private:
    QByteArray m_bytes;
};

// Reads the whole regular file open at fd into bytes, from its start. Returns 0 or the
// system's error; EFBIG when it holds more than kMostKeptBytes.
int ReadWhole(int fd, qint64 size, QByteArray& bytes)
{
    if (size > kMostKeptBytes)
        return EFBIG;
    bytes.resize(size);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, bytes.data() + done, static_cast<size_t>(size - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            break;
        done += n;
    }
    bytes.truncate(done);
    return 0;
}

// Puts bytes back as the whole content of the file open at fd, synced. Returns 0 or the
// system's error. Goes straight to the system: what failed the save is not asked again.
int WriteBack(int fd, const QByteArray& bytes)
{
    if (::ftruncate(fd, 0) != 0)
        return errno;
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(
            fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n == 0 ? ENOSPC : errno;
        done += n;
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

// Writes a regular file over its own bytes, so that the file stays the same file: its
// owner, group, mode, every name linked to it and a sticky folder's rules are untouched.
// The old content is read first (at most kMostKeptBytes) and the new one made in memory;
// only when the disk has room for it is the file truncated, written and synced. Any
// failure after the truncation (a full disk, a size limit, a failed sync, a cancel) writes
// the old content back.
bool RewriteInPlace(
    const QByteArray& target, const FileWriter& write, QString* reason, SaveControl* control)
{
    const int fd = ::open(target.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return FailErrno(reason, errno);
    QString failure;
    struct stat info { };
    QByteArray old;
    MemorySink made;
    QString said;
    struct statvfs disk { };
    if (::fstat(fd, &info) != 0) {
        failure = qt_error_string(errno);
    } else if (info.st_size > kMostKeptBytes) {
        failure = QStringLiteral("The file is larger than 1 GiB: its old content cannot be "
                                 "kept while it is written over");
    } else if (const int error = ReadWhole(fd, info.st_size, old)) {
        failure = qt_error_string(error);
    } else if (!write(made, &said)) {
        failure = said.isEmpty() ? made.errorString() : said;
    } else if (control && control->Cancelled()) {
        failure = SaveCancelledReason();
    } else if (::fstatvfs(fd, &disk) == 0
        && static_cast<quint64>(made.Bytes().size())
            > static_cast<quint64>(disk.f_bavail) * disk.f_frsize
                + static_cast<quint64>(info.st_blocks) * 512) {
        // The old content's blocks come free with the truncation.
        failure = qt_error_string(ENOSPC);
    } else if (::ftruncate(fd, 0) != 0) {
        failure = qt_error_string(errno);
    } else {
        DescriptorSink sink(fd, control);
        if (!WriteWhole(sink, made.Bytes().constData(), made.Bytes().size()))
            failure = WriteFailure(sink, QString());
        else if (CallFsync(fd) != 0)
            failure = qt_error_string(errno);
        if (!failure.isEmpty()) {
            if (const int lost = WriteBack(fd, old))
                failure += QStringLiteral("; the old content could not be written back: ")
                    + qt_error_string(lost);
        }
    }
    const int closeError = CloseChecked(fd);
    if (failure.isEmpty() && closeError != 0)
        failure = qt_error_string(closeError);
    return failure.isEmpty() || Fail(reason, failure);
}

// The folder and name parts of path: "a/b" gives "a" and "b", "b" gives "." and "b".
void SplitPath(const QByteArray& path, QByteArray& folder, QByteArray& name)
{
    const qsizetype slash = path.lastIndexOf('/');
    folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    name = path.mid(slash + 1);
}

// A name for the temporary file that no other file has and that fits any name length:
// the target's name is left out of it.
QByteArray TemporaryName()
{
    return ".fotolot-save-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

bool SaveRegularFile(const QByteArray& target, const struct stat* existing, const FileWriter& write,
    QString* reason, SaveControl* control)
{
    QByteArray folderPath, name;
    SplitPath(target, folderPath, name);
    if (name.isEmpty())
        return FailErrno(reason, EISDIR);
    const int folder = ::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        // A folder this user may pass through but not read: the file is written in place.
        if (existing && errno == EACCES)
            return RewriteInPlace(target, write, reason, control);
        return FailErrno(reason, errno);
    }
    // A file the user may not write is not replaced behind the user's back, as an editor
    // would not; a read-only file system says so itself below.
    if (existing && ::faccessat(folder, name.constData(), W_OK, AT_EACCESS) != 0
        && errno != EROFS) {
        const int error = errno;
        ::close(folder);
        return FailErrno(reason, error);
    }

    // A file with other names would be split from them by a rename: it is written in place.
    if (existing && existing->st_nlink > 1) {
        ::close(folder);
        return RewriteInPlace(target, write, reason, control);
    }

    std::unique_lock<std::mutex> temporaryHeld;
    if (control) {
        temporaryHeld = control->HoldTemporary();
        if (control->Abandoned()) {
            ::close(folder);
            return Fail(reason, SaveCancelledReason());
        }
    }
    QByteArray temporary;
    int fd = -1;
    const mode_t mode = existing ? (existing->st_mode & 07777) : 0666;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = TemporaryName();
        fd = ::openat(folder, temporary.constData(),
            O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, mode);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        const int error = errno;
        ::close(folder);
        // A folder that lets this user write the file but not create one beside it.
        if (existing && (error == EACCES || error == EPERM))
            return RewriteInPlace(target, write, reason, control);
        return FailErrno(reason, error);
    }
    if (control) {
        control->SetTemporary(folder, temporary.toStdString());
        temporaryHeld.unlock();
    }
    if (existing) {
        // The replacement must be the old file's equal: its owner, group and mode (set-id
        // bits included). Where this user may not give them (another user's file, a group
        // the user is not in) the temporary goes and the file is written in place. That also
        // covers a sticky folder, where only the file's owner (or a privileged user, who may
        // give any owner) may rename over it.
        (void)!::fchown(fd, existing->st_uid, existing->st_gid);
        ::fchmod(fd, mode);
        struct stat made { };
        if (::fstat(fd, &made) != 0 || made.st_uid != existing->st_uid
            || made.st_gid != existing->st_gid || (made.st_mode & 07777) != mode) {
            ::close(fd);
            if (control) {
                temporaryHeld.lock();
                control->SetTemporary(-1, {});
            }
            const bool abandoned = control && control->Abandoned(); // the file is gone then
            if (!abandoned)
                ::unlinkat(folder, temporary.constData(), 0);
            ::close(folder);
            if (abandoned)
                return Fail(reason, SaveCancelledReason());
            if (control)
                temporaryHeld.unlock();
            return RewriteInPlace(target, write, reason, control);
        }
    }

    QString failure;
    {
        DescriptorSink sink(fd, control);
        QString said;
        if (!write(sink, &said))
            failure = WriteFailure(sink, said);
    }
    // Every byte on the disk before the name points at it: a disk that fills up or fails
    // while it syncs fails the save here, with the old file still in place.
    if (failure.isEmpty() && CallFsync(fd) != 0)
        failure = qt_error_string(errno);
    const int closeError = CloseChecked(fd);
    if (failure.isEmpty() && closeError != 0)
        failure = qt_error_string(closeError);
    if (control) {
        temporaryHeld.lock();
        if (failure.isEmpty() && control->Abandoned())
            failure = SaveCancelledReason();
    }
    if (failure.isEmpty()
        && ::renameat(folder, temporary.constData(), folder, name.constData()) != 0)
        failure = qt_error_string(errno);
    if (!failure.isEmpty() && !(control && control->Abandoned()))
        ::unlinkat(folder, temporary.constData(), 0);
    if (control) {
        control->SetTemporary(-1, {});
        temporaryHeld.unlock();
    }
    if (!failure.isEmpty()) {
        ::close(folder);
        return Fail(reason, failure);
    }
    // The new name on the disk too; the file is saved whatever this says.
    ::fsync(folder);
    ::close(folder);
    return true;
}

} // namespace

SaveControl::SaveControl()
    : m_wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

SaveControl::~SaveControl()
{
    if (m_wake >= 0)
        ::close(m_wake);
}

void SaveControl::Cancel()
{
    m_cancelled = true;
    if (m_wake >= 0) {
        const std::uint64_t one = 1;
        (void)!::write(m_wake, &one, sizeof one);
    }
}

bool SaveControl::Abandon()
{
    const std::lock_guard<std::mutex> lock(m_temporaryLock);
    m_abandoned = true;
    if (m_temporaryFolder < 0)
        return false;
    ::unlinkat(m_temporaryFolder, m_temporaryName.c_str(), 0);
    return true;
}

void SaveControl::SetTemporary(int folder, std::string name)
{
    m_temporaryFolder = folder;
    m_temporaryName = std::move(name);
}

QString SaveCancelledReason()
{
    return QStringLiteral("Cancelled");
}

SaveFileCalls SetSaveFileCalls(SaveFileCalls calls)
{
    const SaveFileCalls previous = g_calls;
    g_calls = calls;
    return previous;
}

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

bool SaveToPath(const QString& path, const FileWriter& write, QString* reason, SaveControl* control)
{
    if (path.isEmpty())
        return FailErrno(reason, ENOENT);
    const SignalsHeld held;
    QByteArray target = QFile::encodeName(path);
    struct stat info { };
    if (::stat(target.constData(), &info) != 0) {
        if (errno != ENOENT)
            return FailErrno(reason, errno);
        // A new file; a dangling symbolic link is replaced by it, as by a plain save.
        return SaveRegularFile(target, nullptr, write, reason, control);
    }
    if (!S_ISREG(info.st_mode))
        return SaveToSpecialFile(target, write, reason, control);
    // A symbolic link to a file: the file it points at is replaced, the link stays.
    struct stat link { };
    if (::lstat(target.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char* resolved = ::realpath(target.constData(), nullptr);
        if (resolved) {
            target = resolved;
            std::free(resolved);
        }
    }
    return SaveRegularFile(target, &info, write, reason, control);
}
