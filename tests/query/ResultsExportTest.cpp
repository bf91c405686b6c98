// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QUrl>
#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

#include "controls/DesktopSeam.h"
#include "query/PhotoOpening.h"
#include "query/ResultsExport.h"
#include "query/ResultsModel.h"

namespace {

ListRow Row(std::string path, std::string camera, double f, double focal, double iso,
            double exposure)
{
    ListRow row;
    row.path = std::move(path);
    row.camera = std::move(camera);
    row.fNumber = f;
    row.focalLength = focal;
    row.iso = iso;
    row.exposureTime = exposure;
    return row;
}

QByteArray Export(const std::vector<ListRow>& rows)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteResults(buffer, rows, nullptr));
    return buffer.data();
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

class FakeDesktop : public DesktopSeam {
public:
    FakeDesktop() { m_previous = SetDesktop(this); }
    ~FakeDesktop() override { SetDesktop(m_previous); }

    QStringList ChooseFilesToOpen(QWidget*, const QString&, const QStringList&) override
    {
        return {};
    }
    QString ChooseSaveFile(QWidget*, const QString& proposedName, const QString& filter,
                           const QString& defaultSuffix) override
    {
        saveRequests.push_back(proposedName + "|" + filter + "|" + defaultSuffix);
        return savePath;
    }
    void ShowError(QWidget*, const QString& caption, const QString& text) override
    {
        errors.push_back(caption + "|" + text);
    }
    bool OpenWithDesktop(const QUrl& url) override
    {
        opened.push_back(url);
        return true;
    }

    QString savePath;
    QStringList saveRequests;
    QStringList errors;
    QList<QUrl> opened;

private:
    DesktopSeam* m_previous = nullptr;
};

const QByteArray kHeader = "Filename\tCamera\tAperture\tFocal Length\tISO\tShutter Speed\n";

} // namespace

TEST(ResultsExport, Bytes)
{
    EXPECT_EQ(Export({}), kHeader);

    const std::string longName(300, 'n');
    const QByteArray bytes = Export({
        Row("/d/IMG_1.JPG", "Canon EOS", 2.8, 6.3, 200, 0.004),
        Row("/d/" + longName + ".jpg", "Nikon", 0, 50, 0, 0),
        Row("/d/tab\there.jpg", "line\r\nbreak", 11, 105, 3200, 30),
        Row("/d/\xe9t\xe9.jpg", "\xff", 4, 24, 100, 1.5),
    });
    const QByteArray expected = kHeader +
                                "IMG_1.JPG\tCanon EOS\tF2.8\t6.3\t200\t1/250\t\n" +
                                QByteArray::fromStdString(longName) +
                                ".jpg\tNikon\tF0.0\t50\tn/a\tn/a\t\n"
                                "tab here.jpg\tline  break\tF11.0\t105\t3200\t30\t\n"
                                "\xe9t\xe9.jpg\t\xff\tF4.0\t24\t100\t1.5\t\n";
    EXPECT_EQ(bytes, expected);
}

TEST(ResultsExport, WriteErrorsAreReported)
{
    // A full disk: the device accepts the open and refuses the bytes.
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        GTEST_SKIP() << "no /dev/full";
    QString reason;
    EXPECT_FALSE(WriteResults(full, {Row("/a.jpg", "C", 1, 1, 1, 1)}, &reason));
    EXPECT_FALSE(reason.isEmpty());
    full.close();

    // Through the path wrapper, also with only the (buffered) header to write; the
    // device must be written in place, never replaced.
    for (const std::size_t rowCount : {std::size_t(0), std::size_t(5000)}) {
        const std::vector<ListRow> rows(rowCount, Row("/a.jpg", "C", 1, 1, 1, 1));
        reason.clear();
        EXPECT_FALSE(SaveResults(QStringLiteral("/dev/full"), rows, &reason)) << rowCount;
        EXPECT_FALSE(reason.isEmpty());
    }
    struct stat info {};
    ASSERT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

// Tests run as root, for whom a read-only folder is still writable. Two failures that
// hold for root too: a target whose parent is a regular file (the temporary file cannot
// be created), and a file-size limit (RLIMIT_FSIZE binds root as well) that makes the
// write fail half way, after the temporary file was created beside an existing target.
TEST(ResultsExport, AFailedSaveLeavesTheExistingFileIntact)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString existing = dir.filePath(QStringLiteral("ExifList.csv"));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("previous export\n");
    }

    QString reason;
    EXPECT_FALSE(SaveResults(existing + QStringLiteral("/inside.csv"), {}, &reason));
    EXPECT_FALSE(reason.isEmpty());

    const std::vector<ListRow> rows(2000, Row("/d/a.jpg", "Camera", 1, 1, 1, 1));
    rlimit previous {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit small = previous;
    small.rlim_cur = 4096;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    reason.clear();
    const bool saved = SaveResults(existing, rows, &reason);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(ReadFile(existing), QByteArray("previous export\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("ExifList.csv")});

    // Without the limit the same save replaces the file whole.
    ASSERT_TRUE(SaveResults(existing, rows, &reason)) << reason.toStdString();
    EXPECT_EQ(ReadFile(existing).size(),
              kHeader.size() + 2000 * qsizetype(sizeof "a.jpg\tCamera\tF1.0\t1.0\t1\t1.0\t\n" - 1));
}

TEST(ResultsExport, ExportCommandGoesThroughTheDesktop)
{
    FakeDesktop desktop;
    ResultsModel model;
    model.SetRows({Row("/d/b.jpg", "C", 1, 1, 1, 1), Row("/d/a.jpg", "C", 2, 1, 1, 1)});
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    // Dismissed dialog: nothing is written, nothing shown.
    EXPECT_FALSE(ExportResults(nullptr, model));
    EXPECT_EQ(desktop.saveRequests,
              QStringList{QStringLiteral("ExifList|CSV files (*.csv)|csv")});
    EXPECT_TRUE(desktop.errors.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    // Written in the list's current order.
    desktop.savePath = dir.filePath(QStringLiteral("out.csv"));
    model.SortByColumn(ApertureColumn);
    model.SortByColumn(ApertureColumn); // descending: a.jpg (F2.0) first
    EXPECT_TRUE(ExportResults(nullptr, model));
    EXPECT_EQ(ReadFile(desktop.savePath), kHeader + "a.jpg\tC\tF2.0\t1.0\t1\t1.0\t\n"
                                                    "b.jpg\tC\tF1.0\t1.0\t1\t1.0\t\n");
    EXPECT_TRUE(desktop.errors.isEmpty());

    desktop.savePath = desktop.savePath + QStringLiteral("/below-a-file.csv");
    EXPECT_FALSE(ExportResults(nullptr, model));
    EXPECT_EQ(desktop.errors, QStringList{QStringLiteral("Fotolot|Error saving file")});
}

TEST(PhotoOpening, OpensTheRowsFullPathAsALocalFile)
{
    FakeDesktop desktop;
    ResultsModel model;
    model.SetRows({Row("/d/first.jpg", "C", 1, 1, 1, 1),
                   Row("/d/\xc3\xa9t\xc3\xa9 #1.jpg", "C", 1, 1, 1, 1)});
    QItemSelectionModel selection(&model);

    OpenSelectedPhoto(model, &selection); // nothing selected
    OpenPhotoAt(model, 2);                // no such row
    EXPECT_TRUE(desktop.opened.isEmpty());

    selection.select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    OpenSelectedPhoto(model, &selection);
    OpenPhotoAt(model, 0);
    ASSERT_EQ(desktop.opened.size(), 2);
    EXPECT_EQ(desktop.opened[0].toLocalFile(), QString::fromUtf8("/d/\xc3\xa9t\xc3\xa9 #1.jpg"));
    EXPECT_EQ(desktop.opened[1].toLocalFile(), QStringLiteral("/d/first.jpg"));
}
