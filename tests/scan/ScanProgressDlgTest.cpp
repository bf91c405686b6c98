// SPDX-License-Identifier: MIT
// Whole scan runs through the progress dialog, with the file dialog answered by a fake; the
// user cancels with the Cancel button, Escape or the close box.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

#include "bench/CorpusPhoto.h"
#include "catalogue/dialog/CScanProgressDlg.h"
#include "controls/CTransparentStatic.h"
#include "tests/support/FakeDesktop.h"

namespace {

// A photo whose first segment is EXIF with the given f-number, or one with a JFIF segment
// first, which the reader rejects.
QString WritePhoto(
    const QTemporaryDir& dir, const QString& name, unsigned fNumberTenths, bool jfifFirst = false)
{
    CorpusPhoto photo;
    photo.fNumber = { fNumberTenths, 10 };
    photo.jfifFirst = jfifFirst;
    photo.fileSize = 65536;
    const QString path = dir.filePath(name);
    EXPECT_TRUE(WriteCorpusFile(QFile::encodeName(path).toStdString(), photo));
    return path;
}

struct ScanResult {
    int result = -1;
    std::vector<int> notices;
    QString lastFileText, lastTotalText;
};

class ScanRunTest : public ::testing::Test {
protected:
    enum class CancelBy { Button, Escape, CloseBox };

    // Runs one scan; cancelAfter > 0 cancels when that many progress notices were handled.
    ScanResult Scan(int cancelAfter = 0, CancelBy how = CancelBy::Button)
    {
        ScanResult run;
        CScanProgressDlg dialog;
        dialog.m_catalogue = &m_catalogue;
        QObject::connect(&dialog, &CScanProgressDlg::NoticeHandled, [&](int code) {
            run.notices.push_back(code);
            if (code != ScanProgress || static_cast<int>(run.notices.size()) != cancelAfter)
                return;
            if (how == CancelBy::Button)
                QTest::mouseClick(dialog.findChild<QPushButton*>(), Qt::LeftButton);
            else if (how == CancelBy::Escape)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                dialog.close();
        });
        run.result = dialog.exec();
        run.lastFileText = dialog.m_fileLabel->text();
        run.lastTotalText = dialog.m_totalLabel->text();
        return run;
    }

    FakeDesktop m_desktop;
    PhotoCatalogue m_catalogue;
    QTemporaryDir m_dir;
};

// Every file gets its progress notice, a rejected one too; the labels show the last file
// and the photos accepted; the file dialog offers JPEG files first, then every file.
// Cancel, Escape and the close box: the file being read is finished and counted, then
// every record is released.
TEST_F(ScanRunTest, EveryFileGetsItsProgressAndCancelEmptiesTheCatalogue)
{
    for (int i = 1; i <= 10; ++i) {
        const bool rejected = i == 2 || i == 5 || i == 9;
        m_desktop.filesToOpen << WritePhoto(
            m_dir, QStringLiteral("p%1.jpg").arg(i), static_cast<unsigned>(10 + i), rejected);
    }
    const ScanResult run = Scan();
    EXPECT_EQ(run.result, QDialog::Accepted);
    std::vector<int> notices(10, ScanProgress);
    notices.push_back(ScanDone);
    EXPECT_EQ(run.notices, notices);
    EXPECT_EQ(run.lastFileText, m_dir.filePath("p10.jpg"));
    EXPECT_EQ(run.lastTotalText, "7");
    EXPECT_EQ(m_catalogue.recordCount, 7);
    ASSERT_TRUE(m_catalogue.head);
    EXPECT_DOUBLE_EQ(m_catalogue.head->fNumber, 1.1);
    EXPECT_EQ(m_desktop.lastOpenFilters, QStringList({ "JPEG files (*.jpg)", "all files (*)" }));

    // How, after how many files (p2 is rejected), the photos counted.
    const std::tuple<CancelBy, int, const char*> cancels[] = { { CancelBy::Button, 1, "1" },
        { CancelBy::Escape, 2, "1" }, { CancelBy::CloseBox, 3, "2" } };
    for (const auto& [how, after, total] : cancels) {
        const ScanResult cancelled = Scan(after, how);
        EXPECT_EQ(cancelled.result, QDialog::Rejected);
        notices.assign(static_cast<std::size_t>(after), ScanProgress);
        notices.push_back(ScanClose);
        EXPECT_EQ(cancelled.notices, notices);
        EXPECT_EQ(cancelled.lastTotalText, total);
        EXPECT_EQ(m_catalogue.recordCount, 0);
        EXPECT_FALSE(m_catalogue.head);
    }
}

} // namespace
