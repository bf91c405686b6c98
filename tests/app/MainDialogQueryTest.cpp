// SPDX-License-Identifier: MIT
// Scan runs, queries and list actions through the whole main window, the files and
// the desktop answered by a fake.
#include "app/CMainDialog.h"

#include "app/ControlIds.h"
#include "bench/CorpusPhoto.h"
#include "catalogue/dialog/CScanProgressDlg.h"
#include "chart/CChartStatic.h"
#include "controls/CTransparentStatic.h"
#include "query/ResultsModel.h"
#include "tests/support/FakeDesktop.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// Writes a photo of the NIKON CAM-1 with the given settings; returns its path.
QString WritePhoto(const QTemporaryDir& dir, const QString& name, CorpusPhoto photo)
{
    photo.make = "NIKON CORPORATION";
    photo.model = "NIKON CAM-1";
    photo.fileSize = 3 * 1048576;
    const QString path = dir.filePath(name);
    EXPECT_TRUE(WriteCorpusFile(QFile::encodeName(path).toStdString(), photo));
    return path;
}

QStringList Texts(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

QString Cell(const CMainDialog& dialog, int row, int column)
{
    return dialog.m_resultsModel->index(row, column).data().toString();
}

class WindowQueryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // 17.5 mm and 54.4 mm are the extremes: the focal texts must still span them.
        m_desktop.filesToOpen = {
            WritePhoto(m_dir, "IMG_0001.JPG", { "", "", { 28, 10 }, { 1, 250 }, { 175, 10 }, 100 }),
            WritePhoto(m_dir, "IMG_0002.JPG", { "", "", { 40, 10 }, { 1, 2 }, { 544, 10 }, 400 }),
            WritePhoto(m_dir, "IMG_0003.JPG", { "", "", { 28, 10 }, { 2, 1 }, { 500, 10 }, 0 }),
        };
    }

    FakeDesktop m_desktop;
    QTemporaryDir m_dir;
    CMainDialog m_dialog;
};

TEST_F(WindowQueryTest, ScanFillsTheSelectorsAndTheQueryListsAndCharts)
{
    m_dialog.OnOpen();
    ASSERT_EQ(m_dialog.m_catalogue.recordCount, 3);
    EXPECT_EQ(Texts(m_dialog.m_apertureMinCombo), QStringList({ "F2.8", "F4.0" }));
    EXPECT_EQ(Texts(m_dialog.m_isoMinCombo), QStringList({ "100", "400" }));
    EXPECT_EQ(Texts(m_dialog.m_shutterMaxCombo), QStringList({ "1/250", "1/2", "2" }));
    EXPECT_EQ(m_dialog.m_apertureMinCombo->currentIndex(), 0);
    EXPECT_EQ(m_dialog.m_apertureMaxCombo->currentIndex(), 1);
    EXPECT_EQ(m_dialog.m_shutterMaxCombo->currentIndex(), 2);
    EXPECT_EQ(static_cast<QLineEdit*>(m_dialog.GetDlgItem(IdFocalMinEdit))->text(), "17");
    EXPECT_EQ(static_cast<QLineEdit*>(m_dialog.GetDlgItem(IdFocalMaxEdit))->text(), "55");
    EXPECT_TRUE(m_dialog.GetDlgItem(IdQuery)->isEnabled());

    m_dialog.OnQuery();
    ASSERT_EQ(m_dialog.ListedRowCount(), 3);
    EXPECT_EQ(m_dialog.m_matchesText, "3/3");
    EXPECT_EQ(Cell(m_dialog, 0, 1), "Nikon CAM-1");
    EXPECT_EQ(Cell(m_dialog, 1, 5), "1/2");
    EXPECT_EQ(Cell(m_dialog, 2, 4), "n/a");
    const ChartBins& bins = m_dialog.m_chart->Bins();
    EXPECT_EQ(bins.values, (std::vector<double> { 2.8, 4.0 }));
    EXPECT_EQ(bins.counts, (std::vector<int> { 2, 1 }));

    // Show follows the user's choice; the photo without ISO is left out of its chart.
    m_dialog.m_showCombo->setCurrentIndex(Iso);
    m_dialog.OnSelchangeShow();
    EXPECT_EQ(m_dialog.m_chart->Bins().values, (std::vector<double> { 100, 400 }));

    // Bounds: the upper aperture at F2.8 and the lower focal text at 50 leave one photo.
    m_dialog.m_apertureMaxCombo->setCurrentIndex(0);
    static_cast<QLineEdit*>(m_dialog.GetDlgItem(IdFocalMinEdit))->setText("50");
    m_dialog.OnQuery();
    EXPECT_EQ(Cell(m_dialog, 0, 0), "IMG_0003.JPG");
    EXPECT_EQ(m_dialog.m_matchesLabel->text(), "1/3");
}

TEST_F(WindowQueryTest, RowsOutliveACancelledScanAndEveryListActionStillWorks)
{
    m_dialog.OnOpen();
    m_dialog.OnQuery();
    ASSERT_EQ(m_dialog.ListedRowCount(), 3);

    // A new run cancelled at once: it reads its first file, then releases every record.
    m_desktop.whileChoosingFiles
        = [](QWidget* scan) { static_cast<CScanProgressDlg*>(scan)->reject(); };
    m_dialog.OnOpen();
    ASSERT_EQ(m_dialog.m_catalogue.recordCount, 0);
    ASSERT_FALSE(m_dialog.m_catalogue.head);
    EXPECT_EQ(m_dialog.ListedRowCount(), 3); // listed until the next query
    EXPECT_TRUE(m_dialog.GetDlgItem(IdQuery)->isEnabled());

    for (int column = 0; column < 6; ++column) {
        m_dialog.OnHeaderItemClick(column);
        m_dialog.OnHeaderItemClick(column);
    }
    for (int shown = 0; shown < 5; ++shown) {
        m_dialog.m_showCombo->setCurrentIndex(shown);
        m_dialog.OnSelchangeShow();
        m_dialog.m_chart->grab();
    }
    m_dialog.OnListDblClk(m_dialog.m_resultsModel->index(1, 0));
    m_dialog.m_resultsList->selectRow(2);
    m_dialog.OnOpenPhoto();
    // The last sort, descending by shutter speed, lists IMG_0003, IMG_0002, IMG_0001.
    EXPECT_EQ(m_desktop.opened,
        (QList<QUrl> { QUrl::fromLocalFile(m_dir.filePath("IMG_0002.JPG")),
            QUrl::fromLocalFile(m_dir.filePath("IMG_0001.JPG")) }));

    m_desktop.saveTarget = m_dir.filePath("list.csv");
    m_dialog.OnExportCsv();
    QFile exported(m_desktop.saveTarget);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll().count('\n'), 4);
    EXPECT_TRUE(m_desktop.errors.isEmpty());

    m_dialog.OnListRClick(QPoint(5, 5));
    EXPECT_TRUE(m_dialog.m_listMenu->isVisible());
    m_dialog.m_listMenu->close();

    m_dialog.OnQuery(); // the emptied catalogue lists nothing
    EXPECT_EQ(m_dialog.ListedRowCount(), 0);
    EXPECT_EQ(m_dialog.m_matchesText, "0/0");
}

} // namespace
