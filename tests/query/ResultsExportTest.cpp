// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QUrl>
#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

#include "query/PhotoOpening.h"
#include "query/ResultsExport.h"
#include "query/ResultsModel.h"
#include "tests/support/FakeDesktop.h"

namespace {

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

const QByteArray kHeader = "Filename\tCamera\tAperture\tFocal Length\tISO\tShutter Speed\n";

} // namespace

TEST(ResultsExport, Bytes)
{
    const std::string longName(300, 'n');
    const std::pair<std::vector<ListRow>, QByteArray> cases[] = {
        { {}, kHeader },
        { { { "/d/IMG_1.JPG", "Canon EOS", 2.8, 6.3, 200, 0.004 },
              { "/d/" + longName + ".jpg", "Nikon", 0, 50, 0, 0 },
              { "/d/tab\there.jpg", "line\r\nbreak", 11, 105, 3200, 30 },
              { "/d/\xe9t\xe9.jpg", "\xff", 4, 24, 100, 1.5 } },
            kHeader + "IMG_1.JPG\tCanon EOS\tF2.8\t6.3\t200\t1/250\t\n" + longName.c_str()
                + ".jpg\tNikon\tF0.0\t50\tn/a\tn/a\t\n" // trailing tab, names whole, controls as
                                                        // spaces
                  "tab here.jpg\tline  break\tF11.0\t105\t3200\t30\t\n"
                  "\xe9t\xe9.jpg\t\xff\tF4.0\t24\t100\t1.5\t\n" },
    };
    for (const auto& [rows, expected] : cases) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(WriteResults(buffer, rows, nullptr));
        EXPECT_EQ(buffer.data(), expected);
    }
}

// Tests run as root, for whom a read-only folder is still writable. Failures that hold for
// root too: a file-size limit (RLIMIT_FSIZE binds root as well) that makes the write fail
// half way, after the temporary file was created beside an existing target, and a full disk.
TEST(ResultsExport, WriteErrorsAreReportedAndLeaveTheExistingFileIntact)
{
    QTemporaryDir dir;
    QString reason;
    const QString existing = dir.filePath(QStringLiteral("ExifList.csv"));
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("previous export\n") > 0);
    file.close();

    const std::vector<ListRow> rows(2000, ListRow { "/d/a.jpg", "Camera", 1, 1, 1, 1 });
    rlimit previous {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = SaveResults(existing, rows, &reason);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved);
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(ReadFile(existing), QByteArray("previous export\n"));
    EXPECT_EQ(
        QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "ExifList.csv" });
    // Without the limit the same save replaces the file whole.
    ASSERT_TRUE(SaveResults(existing, rows, &reason)) << reason.toStdString();
    EXPECT_EQ(ReadFile(existing),
        kHeader + QByteArray("a.jpg\tCamera\tF1.0\t1.0\t1\t1.0\t\n").repeated(2000));

    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        GTEST_SKIP() << "no /dev/full";
    // Also with only the (buffered) header to write; the device must be written in place,
    // never replaced.
    for (std::size_t rowCount : { 0, 5000 }) {
        reason.clear();
        const std::vector<ListRow> some(rowCount, rows[0]);
        EXPECT_FALSE(SaveResults(QStringLiteral("/dev/full"), some, &reason));
        EXPECT_FALSE(reason.isEmpty()) << rowCount;
    }
    struct stat info { };
    ASSERT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST(ResultsExport, ExportAndOpenGoThroughTheDesktop)
{
    FakeDesktop desktop;
    ResultsModel model;
    const std::string accented = "/d/\xc3\xa9t\xc3\xa9 #1.jpg";
    model.SetRows({ { "/d/b.jpg", "C", 1, 1, 1, 1 }, { accented, "C", 2, 1, 1, 1 } });
    QTemporaryDir dir;
    // Dismissed dialog: nothing is written, nothing shown.
    EXPECT_FALSE(ExportResults(nullptr, model));
    const QString dialog = QStringLiteral("|ExifList|CSV files (*.csv)|csv");
    EXPECT_EQ(desktop.calls, QStringList { dialog });
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    // Written in the list's current order: descending by aperture puts F2.0 first.
    desktop.saveTarget = dir.filePath(QStringLiteral("out.csv"));
    model.SortByColumn(ApertureColumn);
    model.SortByColumn(ApertureColumn);
    EXPECT_TRUE(ExportResults(nullptr, model));
    EXPECT_EQ(ReadFile(desktop.saveTarget),
        kHeader + accented.substr(3).c_str()
            + "\tC\tF2.0\t1.0\t1\t1.0\t\nb.jpg\tC\tF1.0\t1.0\t1\t1.0\t\n");
    desktop.saveTarget += QStringLiteral("/below-a-file.csv");
    EXPECT_FALSE(ExportResults(nullptr, model));
    EXPECT_EQ(
        desktop.calls, (QStringList { dialog, dialog, dialog, "|Fotolot|Error saving file" }));

    // Opening gives the row's full path as a local file; without a row, nothing.
    QItemSelectionModel selection(&model);
    OpenSelectedPhoto(model, &selection);
    OpenPhotoAt(model, 2);
    EXPECT_TRUE(desktop.opened.isEmpty());
    selection.select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    OpenSelectedPhoto(model, &selection);
    OpenPhotoAt(model, 0);
    EXPECT_EQ(desktop.opened,
        (QList<QUrl> { QUrl::fromLocalFile("/d/b.jpg"),
            QUrl::fromLocalFile(QString::fromStdString(accented)) }));
}
