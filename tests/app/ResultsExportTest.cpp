// SPDX-License-Identifier: MIT
#include "query/ResultsExport.h"
#include "app/ExportToCsv.h"
#include "query/ResultsModel.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/TestRow.h"

#include <QApplication>

#include <QTest>

#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

const QByteArray kHeader = "Filename\tCamera\tAperture\tFocal Length\tISO\tShutter Speed\n";
const std::vector<ListRow> kManyRows(5000, ListRow(TestPhoto("/d/a.jpg", "Camera", 1, 1, 1, 1)));

static mode_t TypeOf(const QString& path)
{
    struct stat info { };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

// The character device 1:minor as a node in dir, which a faulty save could replace instead
// of /dev's; /dev's own for a user who is not root, who cannot replace those either.
static QString Device(const QTemporaryDir& dir, const char* name, unsigned minor)
{
    const QString node = dir.filePath(QString::fromLatin1(name));
    return ::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, minor)) == 0
        ? node
        : QStringLiteral("/dev/") + QString::fromLatin1(name);
}

static QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// A dismissed dialog writes and shows nothing. The rows are written in the list's current
// order (descending by aperture): a tab ends every cell, names stay whole and control
// characters become spaces; an empty list writes the header alone, replacing the longer
// file whole.
// Tests run as root, for whom a read-only folder is still writable; these failures hold
// for root too. Each shows the box with the system's reason, at once, and leaves the
// target as it was: a full disk with only the buffered header to write, a FIFO that no
// process reads, a folder, and a FIFO whose reader leaves half way (no SIGPIPE ends the
// program). The null device takes the export. (Failures at any block are the save's own
// test.)
TEST(ResultsExport, RowsInListOrderReplaceTheFileWholeAndFailuresLeaveTheTargetAsItWas)
{
    QTemporaryDir dir, devices;
    const QString file = dir.filePath(QStringLiteral("list.csv"));
    const QString fifo = dir.filePath(QStringLiteral("fifo.csv"));
    const QString folder = dir.filePath(QStringLiteral("folder.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString full = Device(devices, "full", 7), null = Device(devices, "null", 3);

    FakeDesktop desktop;
    ResultsModel model;
    const std::string longName(300, 'n');
    model.SetRows({ ListRow(TestPhoto("IMG_1.JPG", "Canon EOS", 2.8, 6.3, 200, 0.004)),
        ListRow(TestPhoto("/d/" + longName + ".jpg", "Nikon", 0, 50, 0.5, 0)),
        ListRow(TestPhoto("/d/a\\b\tc.jpg", "line\r\nbreak", 11, 105, 3200, 30)) });
    EXPECT_FALSE(ExportResults(nullptr, model));
    EXPECT_EQ(desktop.calls, QStringList { "|ExifList|CSV files (*.csv)|csv" });
    desktop.saveTarget = file;
    model.SortByColumn(ApertureColumn);
    model.SortByColumn(ApertureColumn);
    EXPECT_TRUE(ExportResults(nullptr, model));
    EXPECT_EQ(Read(file),
        kHeader + "a\\b c.jpg\tline  break\tF11.0\t105\t3200\t30\t\n"
            + "IMG_1.JPG\tCanon EOS\tF2.8\t6.3\t200\t1/250\t\n" + longName.c_str()
            + ".jpg\tNikon\tF0.0\t50\tn/a\tn/a\t\n");
    model.Clear();
    EXPECT_TRUE(ExportResults(nullptr, model));
    EXPECT_EQ(Read(file), kHeader);

    const std::tuple<QString, std::size_t, const char*> rows[]
        = { { full, 0, "No space left on device" }, { fifo, 1, "No such device or address" },
              { folder, 1, "Is a directory" } };
    for (const auto& [target, rowCount, reason] : rows) {
        desktop.calls.clear();
        desktop.saveTarget = target;
        model.SetRows(std::vector<ListRow>(kManyRows.begin(), kManyRows.begin() + rowCount));
        EXPECT_FALSE(ExportResults(nullptr, model));
        EXPECT_EQ(desktop.calls.value(1).toStdString(),
            std::string("|Fotolot|Error saving file|") + reason);
    }
    EXPECT_EQ(Read(file), kHeader);
    EXPECT_EQ(TypeOf(full), S_IFCHR);
    EXPECT_EQ(TypeOf(fifo), S_IFIFO);
    const QDir::Filters all = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    EXPECT_TRUE(QDir(folder).isEmpty(all));
    EXPECT_EQ(
        QDir(dir.path()).entryList(all).join(u' ').toStdString(), "fifo.csv folder.csv list.csv");

    const QByteArray fifoName = QFile::encodeName(fifo);
    // A reader that takes 4 KiB of some 150 KB and leaves. A second writer keeps its read
    // waiting for the export's bytes instead of ending at once.
    const int leaving = ::open(fifoName.constData(), O_RDONLY | O_NONBLOCK);
    const int keeper = ::open(fifoName.constData(), O_WRONLY | O_NONBLOCK);
    ASSERT_TRUE(leaving >= 0 && keeper >= 0);
    ::fcntl(leaving, F_SETFL, ::fcntl(leaving, F_GETFL) & ~O_NONBLOCK);
    std::thread readAndLeave([leaving] {
        char block[4096];
        (void)!::read(leaving, block, sizeof block);
        ::close(leaving);
    });
    QString reason;
    EXPECT_FALSE(SaveResults(fifo, kManyRows, &reason));
    readAndLeave.join();
    ::close(keeper);
    EXPECT_EQ(reason.toStdString(), "Broken pipe");
    EXPECT_EQ(TypeOf(fifo), S_IFIFO);
    EXPECT_TRUE(SaveResults(null, kManyRows, &reason));
    EXPECT_EQ(TypeOf(null), S_IFCHR);
}
