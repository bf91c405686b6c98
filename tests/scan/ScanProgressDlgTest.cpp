// SPDX-License-Identifier: MIT
// Whole scan runs through the progress dialog, with the file dialog answered by a fake.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

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
            if (how == CancelBy::Escape) {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QCoreApplication::sendEvent(&dialog, &escape);
            } else if (how == CancelBy::CloseBox) {
                dialog.close();
            } else {
                dialog.reject();
            }
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

TEST_F(ScanRunTest, OneFileGivesOneProgressThenDone)
{
    m_desktop.filesToOpen = { WritePhoto(m_dir, "IMG_0001.JPG", 28) };
    const ScanResult run = Scan();
    EXPECT_EQ(run.result, QDialog::Accepted);
    EXPECT_EQ(run.notices, (std::vector<int> { ScanProgress, ScanDone }));
    EXPECT_EQ(m_catalogue.recordCount, 1);
    ASSERT_TRUE(m_catalogue.head);
    EXPECT_DOUBLE_EQ(m_catalogue.head->fNumber, 2.8);
    EXPECT_EQ(run.lastFileText, m_desktop.filesToOpen.at(0));
    EXPECT_EQ(run.lastTotalText, "1");
    // The file dialog offers JPEG files first, then every file.
    ASSERT_EQ(m_desktop.lastOpenFilters.size(), 2);
    EXPECT_EQ(m_desktop.lastOpenFilters.at(0), "JPEG files (*.jpg)");
    EXPECT_TRUE(m_catalogue.progressWindow == nullptr);
}

TEST_F(ScanRunTest, RejectedFilesCountNothingButGetTheirProgress)
{
    for (int i = 1; i <= 10; ++i) {
        const bool rejected = i == 2 || i == 5 || i == 9;
        m_desktop.filesToOpen << WritePhoto(
            m_dir, QStringLiteral("p%1.jpg").arg(i), static_cast<unsigned>(10 + i), rejected);
    }
    const ScanResult run = Scan();
    EXPECT_EQ(run.result, QDialog::Accepted);
    EXPECT_EQ(run.notices.size(), 11u);
    EXPECT_EQ(run.notices.back(), ScanDone);
    EXPECT_EQ(run.lastFileText, m_desktop.filesToOpen.at(9));
    EXPECT_EQ(run.lastTotalText, "7");
    EXPECT_EQ(m_catalogue.recordCount, 7);
    // The aperture table is sorted at the end of the run.
    ASSERT_EQ(m_catalogue.valueCounts[Aperture], 7);
    for (int i = 1; i < 7; ++i)
        EXPECT_LT(m_catalogue.values[Aperture][i - 1], m_catalogue.values[Aperture][i]);
}

TEST_F(ScanRunTest, CancelFinishesTheCurrentFileAndEmptiesTheCatalogue)
{
    for (int i = 0; i < 5; ++i)
        m_desktop.filesToOpen << WritePhoto(m_dir, QStringLiteral("c%1.jpg").arg(i), 20);
    const ScanResult run = Scan(/*cancelAfter=*/1);
    EXPECT_EQ(run.result, QDialog::Rejected);
    EXPECT_EQ(run.notices, (std::vector<int> { ScanProgress, ScanClose }));
    EXPECT_EQ(run.lastTotalText, "1"); // the file being read was finished and counted
    EXPECT_EQ(m_catalogue.recordCount, 0);
    EXPECT_FALSE(m_catalogue.head);
}

TEST_F(ScanRunTest, DismissedFileDialogLeavesTheTablesAlone)
{
    m_catalogue.values[Iso][0] = 100;
    m_catalogue.valueCounts[Iso] = 1;
    m_desktop.filesToOpen.clear();
    const ScanResult run = Scan();
    EXPECT_EQ(run.result, QDialog::Rejected);
    EXPECT_EQ(run.notices, (std::vector<int> { ScanClose }));
    EXPECT_EQ(m_desktop.openDialogs, 1);
    EXPECT_EQ(m_catalogue.valueCounts[Iso], 1);
    EXPECT_EQ(m_catalogue.values[Iso][0], 100);
    EXPECT_EQ(m_catalogue.recordCount, 0);
    EXPECT_FALSE(m_catalogue.head);
    EXPECT_TRUE(run.lastTotalText.isEmpty()); // the placeholder never shows
}

TEST_F(ScanRunTest, EscapeAndTheCloseBoxCancelLikeTheButton)
{
    for (int i = 0; i < 3; ++i)
        m_desktop.filesToOpen << WritePhoto(m_dir, QStringLiteral("e%1.jpg").arg(i), 20);
    for (const CancelBy how : { CancelBy::Escape, CancelBy::CloseBox }) {
        const ScanResult run = Scan(/*cancelAfter=*/2, how);
        EXPECT_EQ(run.result, QDialog::Rejected);
        EXPECT_EQ(run.notices, (std::vector<int> { ScanProgress, ScanProgress, ScanClose }));
        EXPECT_EQ(m_catalogue.recordCount, 0);
    }
}

} // namespace
