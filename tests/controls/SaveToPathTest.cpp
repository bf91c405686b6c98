// SPDX-License-Identifier: MIT
#include "controls/SaveToPath.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/FileSizeLimit.h"

namespace {

// Bytes that tell their own position: a lost or shifted block shows.
QByteArray Payload(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('a' + (i / 7 + i) % 26);
    return bytes;
}

FileWriter Writing(const QByteArray& bytes)
{
    return [bytes](QIODevice& device, QString*) {
        return WriteWhole(device, bytes.constData(), bytes.size());
    };
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

QString Listing(const QString& folder)
{
    const auto all = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    return QDir(folder).entryList(all, QDir::Name).join(u' ');
}

std::size_t OpenDescriptors()
{
    return static_cast<std::size_t>(
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

// A disk that takes bytes up to offset g_failAt of the save and then fails with g_error,
// and a sync that fails with g_syncError (0: the system's own).
qint64 g_failAt = -1, g_written = 0;
int g_error = 0, g_syncError = 0;

ssize_t StubWrite(int fd, const void* data, size_t size)
{
    if (g_failAt >= 0 && g_written >= g_failAt) {
        errno = g_error;
        return -1;
    }
    if (g_failAt >= 0)
        size = std::min<size_t>(size, static_cast<size_t>(g_failAt - g_written));
    const ssize_t n = ::write(fd, data, size);
    g_written += std::max<ssize_t>(n, 0);
    return n;
}

int StubSync(int fd)
{
    if (g_syncError != 0) {
        errno = g_syncError;
        return -1;
    }
    return ::fsync(fd);
}

// A tmpfs of the given size at folder, for as long as it lives; not mounted where this user
// may not mount (the cases that need it then skip themselves).
struct SmallDisk {
    SmallDisk(const QString& folder, unsigned long flags)
        : path(folder)
    {
        QDir().mkpath(folder);
        mounted
            = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", flags, "size=64k")
            == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    }
    QString path;
    bool mounted = false;
};

} // namespace

// A save either puts every byte on the disk, synced, or leaves the old file as it was with
// nothing beside it and says why in the system's words; no descriptor stays open either way.
// So for a file replaced by a rename and for a hard-linked one written in place, whose
// other name then shows the same bytes. The disk fails at chosen offsets (the last block,
// the last byte, the first) or in the sync, or a file-size limit is reached; then real small
// disks: a tmpfs of 64 KiB that is full and a read-only one.
TEST(SaveToPath, EveryByteIsSyncedOrTheOldFileStays)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("exist.csv"));
    const QString link = dir.filePath(QStringLiteral("link.csv"));
    const QByteArray old = "old contents\n", payload = Payload(143928);
    const std::size_t descriptors = OpenDescriptors();

    // Offset of the failing write (-1: none), write error, sync error, reason (none: saved).
    const std::tuple<qint64, int, int, const char*> rows[]
        = { { 131072, ENOSPC, 0, "No space left on device" },
              { 143927, ENOSPC, 0, "No space left on device" },
              { 0, ENOSPC, 0, "No space left on device" }, { 65536, EIO, 0, "Input/output error" },
              { -1, 0, EIO, "Input/output error" }, { -1, 0, ENOSPC, "No space left on device" },
              { -1, 0, 0, nullptr } };
    for (const bool linked : { false, true }) {
        for (const auto& [failAt, error, syncError, expected] : rows) {
            SCOPED_TRACE(testing::Message() << "linked " << linked << " at " << failAt);
            QFile::remove(link);
            Write(target, old);
            if (linked) {
                ASSERT_EQ(::link(QFile::encodeName(target), QFile::encodeName(link)), 0);
            }
            g_failAt = failAt, g_written = 0, g_error = error, g_syncError = syncError;
            const SaveFileCalls previous = SetSaveFileCalls({ StubWrite, StubSync });
            QString reason;
            const bool saved = SaveToPath(target, Writing(payload), &reason);
            SetSaveFileCalls(previous);
            EXPECT_EQ(saved, expected == nullptr);
            EXPECT_EQ(reason.toStdString(), expected ? expected : "");
            EXPECT_EQ(Read(target) == payload, expected == nullptr);
            EXPECT_EQ(Read(target) == old, expected != nullptr);
            EXPECT_EQ(Listing(dir.path()), linked ? "exist.csv link.csv" : "exist.csv");
            if (linked) {
                EXPECT_TRUE(Read(link) == Read(target));
            }
            EXPECT_EQ(OpenDescriptors(), descriptors);
        }

        // Past a file-size limit (as under "ulimit -f 2") the save fails and the program goes
        // on (SIGXFSZ would end it).
        Write(target, old);
        EXPECT_EQ(SaidUnderFileSizeLimit(2048,
                      [&] {
                          QString reason;
                          return SaveToPath(target, Writing(Payload(10000)), &reason)
                              ? QStringLiteral("saved")
                              : reason;
                      }),
            "File too large");
        EXPECT_EQ(Read(target), old);
        EXPECT_EQ(Read(link), linked ? old : QByteArray("<unreadable>"));
    }

    // A file written in place whose old content could not be kept is refused untouched.
    ASSERT_TRUE(QFile::resize(target, (qint64(1) << 30) + 1));
    QString refusal;
    EXPECT_FALSE(SaveToPath(link, Writing(payload), &refusal));
    EXPECT_EQ(refusal.toStdString(),
        "The file is larger than 1 GiB: its old content cannot be kept while it is written over");
    EXPECT_EQ(QFileInfo(link).size(), (qint64(1) << 30) + 1);
    QFile::remove(link);
    Write(target, old);

    SmallDisk full(dir.filePath(QStringLiteral("full")), 0);
    SmallDisk readOnly(dir.filePath(QStringLiteral("ro")), MS_RDONLY);
    if (!full.mounted || !readOnly.mounted)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const QString small = full.path + QStringLiteral("/exist.csv");
    Write(small, old);
    QFile filler(full.path + QStringLiteral("/filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, 'f')) == 4096 && filler.flush()) { }
    filler.close();
    const std::tuple<QString, QByteArray, const char*> disks[]
        = { { small, "a small list\n", "No space left on device" },
              { readOnly.path + QStringLiteral("/new.csv"), "x", "Read-only file system" } };
    for (const auto& [path, bytes, expected] : disks) {
        SCOPED_TRACE(path.toStdString());
        QString reason;
        EXPECT_FALSE(SaveToPath(path, Writing(bytes), &reason));
        EXPECT_EQ(reason.toStdString(), expected);
        EXPECT_EQ(Read(path), path == small ? old : QByteArray("<unreadable>"));
        EXPECT_EQ(OpenDescriptors(), descriptors);
    }
    EXPECT_EQ(Listing(full.path), QStringLiteral("exist.csv filler"));
    EXPECT_EQ(Listing(readOnly.path), QString());
}

// Saved as a user who is not root (the test drops to it in a child, as setpriv does): a file
// that a rename would change (another user's, a hard-linked one, one in a folder the saver
// may not create in, a sticky folder's) is written in place and keeps its owner, group, mode
// and links; a file the saver may not write, or may write but not read back, is refused
// with the old content intact; the saver's own single file is replaced by a rename. A
// symbolic link stays a link to the same file.
TEST(SaveToPath, AnotherUsersFileKeepsOwnerModeAndLinksOrIsRefusedIntact)
{
    constexpr uid_t kSaver = 4242, kOther = 4343;
    if (::geteuid() != 0 || SaidAsUser(kSaver, [] { return QStringLiteral("ok"); }) != "ok")
        GTEST_SKIP() << "needs root, to own files as other users and to save as one";
    QTemporaryDir dir;
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()), 0755), 0);
    const QByteArray old = "old contents\n", payload = Payload(5000);

    struct Row {
        const char* what;
        mode_t folderMode;
        uid_t fileOwner; // and group
        mode_t fileMode;
        bool linked, symlinked;
        const char* said;
        bool replaced; // a new file by the rename
    };
    const Row rows[] = {
        { "root's folder", 0755, 0, 0666, false, false, "saved", false },
        { "another user's file", 0777, kOther, 0646, false, false, "saved", false },
        { "hard-linked", 0777, kSaver, 0640, true, false, "saved", false },
        { "sticky folder", 01777, kOther, 0666, false, false, "saved", false },
        { "symlink to root's folder", 0755, 0, 0606, false, true, "saved", false },
        { "saver's own", 0777, kSaver, 0604, false, false, "saved", true },
        { "symlink to saver's own", 0777, kSaver, 0600, false, true, "saved", true },
        { "not writable", 0777, kOther, 0644, false, false, "Permission denied", false },
        { "not readable", 0755, 0, 0622, false, false, "Permission denied", false },
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString folder = dir.filePath(QString::number(++n));
        const QString file = folder + QStringLiteral("/exist.csv");
        const QString other = folder + QStringLiteral("/other.csv");
        const QString symlink = dir.filePath(QStringLiteral("link%1.csv").arg(n));
        ASSERT_TRUE(QDir().mkdir(folder));
        Write(file, old);
        ASSERT_EQ(::chmod(QFile::encodeName(folder), row.folderMode), 0);
        ASSERT_EQ(::chown(QFile::encodeName(file), row.fileOwner, row.fileOwner), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(file), row.fileMode), 0);
        if (row.linked) {
            ASSERT_EQ(::link(QFile::encodeName(file), QFile::encodeName(other)), 0);
        }
        if (row.symlinked) {
            ASSERT_EQ(::symlink(QFile::encodeName(file), QFile::encodeName(symlink)), 0);
        }
        struct stat before {
        }, after {}, link {};
        ASSERT_EQ(::stat(QFile::encodeName(file), &before), 0);

        const QString path = row.symlinked ? symlink : file;
        EXPECT_EQ(SaidAsUser(kSaver,
                      [&] {
                          QString reason;
                          return SaveToPath(path, Writing(payload), &reason)
                              ? QStringLiteral("saved")
                              : reason;
                      }),
            row.said);
        const bool saved = std::string(row.said) == "saved";
        EXPECT_EQ(Read(file) == payload, saved);
        EXPECT_EQ(Read(file) == old, !saved);
        ASSERT_EQ(::stat(QFile::encodeName(file), &after), 0);
        EXPECT_EQ(after.st_ino != before.st_ino, row.replaced);
        EXPECT_EQ(after.st_uid, row.fileOwner);
        EXPECT_EQ(after.st_gid, row.fileOwner);
        EXPECT_EQ(after.st_mode & 07777, row.fileMode);
        EXPECT_EQ(after.st_nlink, row.linked ? 2u : 1u);
        EXPECT_EQ(Listing(folder), row.linked ? "exist.csv other.csv" : "exist.csv");
        if (row.symlinked) {
            EXPECT_TRUE(::lstat(QFile::encodeName(symlink), &link) == 0 && S_ISLNK(link.st_mode));
            EXPECT_EQ(QFile::symLinkTarget(symlink), file);
        }
    }
}

// A FIFO is written at its reader's pace however slow (its descriptor may not give up when
// the pipe is full), every byte in order; a reader that never reads keeps the save waiting
// until it is cancelled, which ends it at once. The FIFO stays a FIFO.
TEST(SaveToPath, AFifoTakesEverythingFromASlowReaderAndACancelEndsAStalledOne)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.csv"));
    const QByteArray name = QFile::encodeName(fifo);
    ASSERT_EQ(::mkfifo(name.constData(), 0600), 0);
    const QByteArray payload = Payload(300000);

    const int reader = ::open(name.constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ::fcntl(reader, F_SETFL, ::fcntl(reader, F_GETFL) & ~O_NONBLOCK);
    QByteArray received;
    std::thread slow([reader, &received] {
        char block[4096];
        // Until the save opens the FIFO there is no writer, and a read finds the end at once.
        for (ssize_t n; (n = ::read(reader, block, sizeof block)) != 0 || received.isEmpty();) {
            if (n > 0)
                received.append(block, n);
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    });
    QString reason;
    EXPECT_TRUE(SaveToPath(fifo, Writing(payload), &reason)) << reason.toStdString();
    slow.join();
    ::close(reader);
    EXPECT_TRUE(received == payload) << received.size();

    const int stalled = ::open(name.constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(stalled, 0);
    SaveControl control;
    bool saved = true;
    std::thread save([&] { saved = SaveToPath(fifo, Writing(payload), &reason, &control); });
    // Waits until the pipe is full and the save waits for room.
    for (int i = 0; i < 5000 && control.Written() < 4096; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    control.Cancel();
    save.join();
    ::close(stalled);
    EXPECT_FALSE(saved);
    EXPECT_EQ(reason.toStdString(), "Cancelled");
    EXPECT_GE(control.Written(), 4096);
    EXPECT_LT(control.Written(), payload.size());
    struct stat info { };
    EXPECT_TRUE(::stat(name.constData(), &info) == 0 && S_ISFIFO(info.st_mode));
}
