// SPDX-License-Identifier: MIT
// Exports to targets that are not regular files: none may freeze the window, end the
// program or be replaced by a regular file.
#include "query/ResultsExport.h"
#include "query/ResultsModel.h"
#include "tests/support/FakeDesktop.h"

#include <QDir>
#include <QTemporaryDir>

#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {
mode_t TypeOf(const QString& path)
{
    struct stat info { };
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

void ClearNonBlocking(int fd)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
}
} // namespace

// A FIFO that no process reads and a folder fail at once with the system's reason
// and stay what they were; a FIFO with a reader receives the export; a reader that goes away
// half way fails the export instead of ending the program; /dev/null takes it.
TEST(ExportTarget, SpecialFilesAreOpenedWithoutWaitingAndNeverReplaced)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.csv"));
    const QString folder = dir.filePath(QStringLiteral("folder.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkdir(folder));

    ResultsModel model;
    model.SetRows({ { "/d/a.jpg", "Cam", 2.8, 50, 100, 0.004 } });
    const std::pair<QString, const char*> failing[] = {
        { fifo, "No such device or address" },
        { folder, "Is a directory" },
    };
    for (const auto& [target, reason] : failing) {
        FakeDesktop desktop;
        desktop.saveTarget = target;
        EXPECT_FALSE(ExportResults(nullptr, model));
        EXPECT_EQ(desktop.calls.value(1).toStdString(),
            std::string("|Fotolot|Error saving file|") + reason);
    }
    EXPECT_EQ(TypeOf(fifo), S_IFIFO);
    const QDir::Filters all = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    EXPECT_TRUE(QDir(folder).isEmpty(all));
    EXPECT_EQ(QDir(dir.path()).entryList(all).join(u' ').toStdString(), "fifo.csv folder.csv");

    FakeDesktop desktop;
    desktop.saveTarget = fifo;
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_TRUE(ExportResults(nullptr, model));
    char received[256] = {};
    EXPECT_EQ(std::string(received,
                  static_cast<std::size_t>(std::max<ssize_t>(0, ::read(reader, received, 255)))),
        "Filename\tCamera\tAperture\tFocal Length\tISO\tShutter Speed\n"
        "a.jpg\tCam\tF2.8\t50\t100\t1/250\t\n");
    ::close(reader);

    // A reader that takes 4 KiB of some 150 KB and leaves. A second writer keeps its read
    // waiting for the export's bytes instead of ending at once.
    const int leaving = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    const int keeper = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(leaving, 0);
    ASSERT_GE(keeper, 0);
    ClearNonBlocking(leaving);
    std::thread readAndLeave([leaving] {
        char block[4096];
        (void)!::read(leaving, block, sizeof block);
        ::close(leaving);
    });
    model.SetRows(std::vector<ListRow>(5000, ListRow { "/d/a.jpg", "Camera", 1, 1, 1, 1 }));
    EXPECT_FALSE(ExportResults(nullptr, model));
    readAndLeave.join();
    ::close(keeper);
    EXPECT_EQ(desktop.errors.value(0).reason.toStdString(), "Broken pipe");
    EXPECT_EQ(TypeOf(fifo), S_IFIFO);

    QString reason;
    EXPECT_TRUE(SaveResults(QStringLiteral("/dev/null"), model.Rows(), &reason));
    EXPECT_EQ(TypeOf(QStringLiteral("/dev/null")), S_IFCHR);
}
