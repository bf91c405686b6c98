// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

#include "query/ResultsExport.h"
#include "query/ResultsModel.h"
#include "tests/support/FakeDesktop.h"

// Tests run as root, for whom a read-only folder is still writable. Failures that hold for
// root too: a file-size limit (RLIMIT_FSIZE binds root as well) that makes the write fail
// half way, after the temporary file was created beside the existing target, and a full disk.
TEST(ResultsExport, ExportGoesThroughTheDesktopAndFailuresKeepTheFile)
{
    FakeDesktop desktop;
    auto written = [&desktop] { // the saved file's bytes
        QFile file(desktop.saveTarget);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    };
    const QByteArray header = "Filename\tCamera\tAperture\tFocal Length\tISO\tShutter Speed\n";
    ResultsModel model;
    const std::string longName(300, 'n');
    const std::string accented = "/d/\xc3\xa9t\xc3\xa9 #1.jpg";
    model.SetRows({ { "IMG_1.JPG", "Canon EOS", 2.8, 6.3, 200, 0.004 },
        { "/d/" + longName + ".jpg", "Nikon", 0, 50, 0.5, 0 },
        { "/d/a\\b\tc.jpg", "line\r\nbreak", 11, 105, 3200, 30 },
        { accented, "\xff", 4, 24, 1, 1.5 } });
    // A dismissed dialog: nothing is written, nothing shown.
    QTemporaryDir dir;
    EXPECT_FALSE(ExportResults(nullptr, model));
    const QString dialog = QStringLiteral("|ExifList|CSV files (*.csv)|csv");
    EXPECT_EQ(desktop.calls, QStringList { dialog });
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    // An existing file is replaced whole, in the list's current order (descending by
    // aperture): a tab ends every cell, names stay whole, control characters become
    // spaces and other bytes are written as they are.
    desktop.saveTarget = dir.filePath(QStringLiteral("ExifList.csv"));
    QFile file(desktop.saveTarget);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("previous export\n") > 0);
    file.close();
    model.SortByColumn(ApertureColumn);
    model.SortByColumn(ApertureColumn);
    EXPECT_TRUE(ExportResults(nullptr, model));
    const QByteArray rowsText = header + "a\\b c.jpg\tline  break\tF11.0\t105\t3200\t30\t\n"
        + accented.substr(3).c_str() + "\t\xff\tF4.0\t24\t1\t1.5\t\n"
        + "IMG_1.JPG\tCanon EOS\tF2.8\t6.3\t200\t1/250\t\n" + longName.c_str()
        + ".jpg\tNikon\tF0.0\t50\tn/a\tn/a\t\n";
    EXPECT_EQ(written(), rowsText);

    // A write failing half way shows the box and leaves the file and nothing beside it.
    const std::vector<ListRow> rows(5000, ListRow { "/d/a.jpg", "Camera", 1, 1, 1, 1 });
    model.SetRows(rows);
    rlimit previous {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const rlimit small { 4096, previous.rlim_max };
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = ExportResults(nullptr, model);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(desktop.calls,
        (QStringList { dialog, dialog, dialog, "|Fotolot|Error saving file|File too large" }));
    EXPECT_EQ(written(), rowsText);
    EXPECT_EQ(
        QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "ExifList.csv" });
    // An empty list writes the header alone.
    model.Clear();
    EXPECT_TRUE(ExportResults(nullptr, model));
    EXPECT_EQ(written(), header);

    // A full disk fails too, also with only the (buffered) header to write; the device is
    // written in place, never replaced.
    ASSERT_TRUE(QFile::exists(QStringLiteral("/dev/full")));
    for (std::size_t rowCount : { 0, 5000 }) {
        QString reason;
        EXPECT_FALSE(SaveResults(QStringLiteral("/dev/full"),
            std::vector<ListRow>(rows.begin(), rows.begin() + rowCount), &reason));
        EXPECT_EQ(reason.toStdString(), "No space left on device") << rowCount;
    }
    struct stat info { };
    ASSERT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}
