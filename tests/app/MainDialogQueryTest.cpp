// SPDX-License-Identifier: MIT
// Scan runs, queries, the chart and the list's actions through the main window's controls.
#include "tests/app/MainWindowDriver.h"

#include <QAbstractItemModelTester>
#include <QPushButton>

// The list's model is checked for consistency at every change, all through the test.
TEST_F(MainWindowTest, ScanFillsTheBoundsQueryListsWhatLiesWithinThemHeadingsSortAndExtremesPass)
{
    QAbstractItemModelTester tester(
        Results()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    OpenPhotos(FourPhotos());
    EXPECT_EQ(Entries(m_ui.ApertureMinCombo()), "F2.8 F4.0 (F2.8)");
    EXPECT_EQ(Entries(m_ui.ApertureMaxCombo()), "F2.8 F4.0 (F4.0)");
    EXPECT_EQ(Entries(m_ui.IsoMinCombo()), "100 200 400 (100)");
    EXPECT_EQ(Entries(m_ui.IsoMaxCombo()), "100 200 400 (400)");
    EXPECT_EQ(Entries(m_ui.ShutterMinCombo()), "1/250 1/2 2 (1/250)");
    EXPECT_EQ(Entries(m_ui.ShutterMaxCombo()), "1/250 1/2 2 (2)");
    EXPECT_EQ(m_ui.FocalMinEdit()->text() + ".." + m_ui.FocalMaxEdit()->text(), "17..55");
    ASSERT_TRUE(m_ui.QueryButton()->isEnabled());

    // Old.tif is read from its first 32,768 bytes only, and its Latin-1 camera reads right.
    Click(m_ui.QueryButton());
    const QAbstractItemModel* rows = Results()->model();
    const char* const columns[]
        = { "c.jpg a.jpg Old.tif b.jpg ", "Nikon CAM-1 Nikon CAM-1 Caf\xC3\xA9 CAM-9 Nikon CAM-1 ",
              "F2.8 F4.0 F0.0 F2.8 ", "18 54 35 50 ", "100 400 200 n/a ", "1/250 1/2 n/a 2.0 " };
    ASSERT_EQ(rows->columnCount(), kTemplateColumnCount);
    for (int column = 0; column < kTemplateColumnCount; ++column) {
        EXPECT_EQ(Column(rows, column), QString::fromUtf8(columns[column]));
        EXPECT_EQ(rows->index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
            (column < 2 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
    }
    EXPECT_EQ(m_ui.MatchesLabel()->text(), "4/4");

    // Heading clicks sort, each column alternating; the directions outlive a query (-1);
    // the stripes follow the position. File names sort by bytes (upper case first), a
    // missing ISO first, shutter speeds by time, not text; equal apertures keep their order.
    const std::pair<int, const char*> clicks[] = { { FileColumn, "Old.tif a.jpg b.jpg c.jpg " },
        { FileColumn, "c.jpg b.jpg a.jpg Old.tif " }, { IsoColumn, "b.jpg c.jpg Old.tif a.jpg " },
        { ShutterSpeedColumn, "Old.tif c.jpg a.jpg b.jpg " },
        { ApertureColumn, "Old.tif c.jpg b.jpg a.jpg " }, { -1, "c.jpg a.jpg Old.tif b.jpg " },
        { IsoColumn, "a.jpg Old.tif c.jpg b.jpg " }, { CameraColumn, "Old.tif a.jpg c.jpg b.jpg " },
        { FocalLengthColumn, "c.jpg Old.tif b.jpg a.jpg " } };
    for (const auto& [column, order] : clicks) {
        column < 0 ? Click(m_ui.QueryButton()) : ClickHeading(column);
        EXPECT_EQ(Order(), order) << column;
    }

    // The up-down controls step within 17..55 by their buttons and the arrow keys.
    m_ui.FocalMinEdit()->setFocus();
    Press(Qt::Key_Up);
    EXPECT_EQ(m_ui.FocalMinEdit()->text(), "18");
    Click(Arrow(m_ui.FocalMinSpin(), Qt::UpArrow));
    EXPECT_EQ(m_ui.FocalMinEdit()->text(), "19");
    Click(Arrow(m_ui.FocalMinSpin(), Qt::DownArrow));
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    EXPECT_EQ(m_ui.FocalMinEdit()->text(), "17");
    Click(Arrow(m_ui.FocalMaxSpin(), Qt::UpArrow));
    EXPECT_EQ(m_ui.FocalMaxEdit()->text(), "55");
    m_ui.FocalMaxEdit()->setFocus();
    Press(Qt::Key_Down);
    EXPECT_EQ(m_ui.FocalMaxEdit()->text(), "54");
    Click(m_ui.QueryButton()); // a.jpg at 54.4 mm is left out
    EXPECT_EQ(Order(), "c.jpg Old.tif b.jpg ");
    EXPECT_EQ(m_ui.MatchesLabel()->text(), "3/4");

    // Upper aperture F2.8 with a key, lower focal length 50 typed: a photo without an
    // aperture passes, Old.tif's 35 mm does not.
    m_ui.ApertureMaxCombo()->setFocus();
    Press(Qt::Key_Up);
    m_ui.FocalMinEdit()->setFocus();
    Press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(m_ui.FocalMinEdit(), "50");
    Click(m_ui.QueryButton());
    EXPECT_EQ(Order(), "b.jpg ");
    EXPECT_EQ(m_ui.MatchesLabel()->text(), "1/4");

    // An f-number or exposure time not above 1e-8 counts as not given, and a focal length of
    // 4294967295 mm fits the up-down range: the first query lists both photos, and so does
    // one after the arrows and keys have stepped at the range's ends and back.
    OpenPhotos({ WritePhoto("IMG_1.JPG", { 1, 1000000000 }, { 1, 4294967295 }, { 50, 1 }),
        WritePhoto("IMG_2.JPG", { 28, 10 }, { 1, 125 }, { 4294967295, 1 }) });
    EXPECT_EQ(m_ui.FocalMinEdit()->text() + ".." + m_ui.FocalMaxEdit()->text(), "50..4294967295");
    Click(m_ui.QueryButton());
    EXPECT_EQ(m_ui.MatchesLabel()->text(), "2/2");
    Click(Arrow(m_ui.FocalMaxSpin(), Qt::UpArrow));
    m_ui.FocalMinEdit()->setFocus();
    Press(Qt::Key_Down);
    EXPECT_EQ(m_ui.FocalMinEdit()->text() + ".." + m_ui.FocalMaxEdit()->text(), "50..4294967295");
    Click(Arrow(m_ui.FocalMaxSpin(), Qt::DownArrow));
    EXPECT_EQ(m_ui.FocalMaxEdit()->text(), "4294967294");
    Click(Arrow(m_ui.FocalMaxSpin(), Qt::UpArrow));
    Click(m_ui.QueryButton());
    EXPECT_EQ(m_ui.MatchesLabel()->text(), "2/2");
}

// For every quantity picked under Show, the first bar and its right column on the plot's
// bottom row (chart row 180) in the quantity's colours; the slots depend on the number of
// distinct values (2 apertures, 4 focal lengths, 3 ISO speeds and 3 shutter speeds, one
// file size).
TEST_F(MainWindowTest, ShowChartsEachQuantityAndScreenshotSavesTheWindow)
{
    OpenPhotos(FourPhotos());
    Click(m_ui.QueryButton());
    // Shown, the first bar's left and right column and their colours.
    const std::tuple<const char*, int, int, QRgb, QRgb> bars[]
        = { { "Aperture", 64, 268, qRgb(255, 0, 0), qRgb(129, 0, 0) },
              { "Focal length", 51, 152, qRgb(0, 0, 255), qRgb(0, 0, 130) },
              { "ISO", 55, 190, qRgb(0, 255, 0), qRgb(0, 129, 0) },
              { "Shutter speed", 55, 190, qRgb(255, 0, 255), qRgb(129, 0, 129) },
              { "File size (MB)", 89, 500, qRgb(0, 255, 255), qRgb(0, 129, 129) } };
    m_ui.ShowCombo()->setFocus();
    for (int shown : { 1, 2, 3, 4, 0 }) {
        Press(shown ? Qt::Key_Down : Qt::Key_Home);
        const auto& [name, left, right, leftColour, rightColour] = bars[shown];
        ASSERT_EQ(m_ui.ShowCombo()->currentText(), name);
        const QImage chart = Picture().copy(11, 125, 572, 198);
        EXPECT_EQ(chart.pixel(left, 180), leftColour) << shown;
        EXPECT_EQ(chart.pixel(right, 180), rightColour) << shown;
        EXPECT_NE(chart.pixel(left - 1, 180), leftColour) << shown;
        EXPECT_NE(chart.pixel(right + 1, 180), rightColour) << shown;
    }
    // The aperture chart of 2 bins again, and the rows under it, as the golden capture
    // after a query has them.
    ExpectGolden(Picture(), "query");
    const QImage chart = Picture().copy(11, 125, 572, 198);

    // Screenshot saves the window's picture; a click on Open and keys typed while it waits
    // for the window to repaint are dropped.
    m_desktop.saveTarget = m_dir.filePath("Fotolot.png");
    m_desktop.whileChoosingSave = [this] {
        QTimer::singleShot(0, [this] { // runs during the wait
            Click(m_ui.OpenButton());
            QTest::keyClicks(m_ui.FocalMinEdit(), "9");
        });
    };
    Click(m_ui.ScreenshotButton());
    EXPECT_EQ(m_desktop.openDialogs, 1);
    EXPECT_EQ(m_ui.FocalMinEdit()->text(), "17");
    EXPECT_EQ(m_desktop.calls, QStringList { "|Fotolot|Portable Network Graphics (*.png)|png" });
    const QImage saved(m_desktop.saveTarget, "png");
    ASSERT_EQ(saved.size(), QSize(593, 423));
    EXPECT_EQ(saved.pixel(3, 0), qRgb(255, 255, 255));
    EXPECT_EQ(saved.copy(11, 125, 572, 198).convertToFormat(QImage::Format_RGB32), chart);

    // The link opens its address on the press, under a pointing hand; a label that is not
    // a link opens nothing.
    Click(m_ui.MatchesLabel());
    QWidget* link = m_ui.LinkLabel();
    QTest::mouseMove(link);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    QTest::mousePress(link, Qt::LeftButton);
    EXPECT_EQ(m_desktop.opened, QList<QUrl> { QUrl("https://fotolot.example.org") });
    QTest::mouseRelease(link, Qt::LeftButton);
    Click(link, {}, Qt::RightButton);
    EXPECT_EQ(m_desktop.opened.size(), 1);
}

// The rows of a query stay usable after a cancelled scan has released their photos: they
// open by a double click and from the context menu, and export in the list's order.
TEST_F(MainWindowTest, RowsOpenAndExportFromTheMouseAndTheMenu)
{
    OpenPhotos(FourPhotos());
    Click(m_ui.QueryButton());
    m_desktop.whileChoosingFiles = [](QWidget* scan) { Click(scan->findChild<QPushButton*>()); };
    OpenPhotos(FourPhotos());
    ASSERT_EQ(m_ui.Catalogue().recordCount, 0);
    EXPECT_EQ(m_ui.MatchesLabel()->text(), "4/4");

    auto url = [this](const char* name) { return QUrl::fromLocalFile(m_dir.filePath(name)); };
    QTest::mouseDClick(Results()->viewport(), Qt::LeftButton, {}, RowCentre(2));
    QTest::mouseDClick(Results()->viewport(), Qt::LeftButton, {}, QPoint(555, RowCentre(0).y()));
    EXPECT_EQ(m_desktop.opened, QList<QUrl> { url("Old.tif") });
    Click(Results()->viewport(), RowCentre(3), Qt::RightButton);
    ChooseFromMenu("Open");
    EXPECT_EQ(m_desktop.opened, (QList<QUrl> { url("Old.tif"), url("b.jpg") }));

    // The menu opens off the rows too; Open without a selected row does nothing.
    ClickHeading(IsoColumn);
    Results()->clearSelection();
    Click(Results()->viewport(), QPoint(555, RowCentre(0).y()), Qt::RightButton);
    ChooseFromMenu("Open");
    EXPECT_EQ(m_desktop.opened.size(), 2);
    m_desktop.saveTarget = m_dir.filePath("list.csv");
    Click(Results()->viewport(), RowCentre(0), Qt::RightButton);
    ChooseFromMenu("Export to CSV");
    EXPECT_EQ(m_desktop.calls, QStringList { "|ExifList|CSV files (*.csv)|csv" });
    QFile exported(m_desktop.saveTarget);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll(),
        "Filename\tCamera\tAperture\tFocal Length\tISO\tShutter Speed\n"
        "b.jpg\tNikon CAM-1\tF2.8\t50\tn/a\t2.0\t\n"
        "c.jpg\tNikon CAM-1\tF2.8\t18\t100\t1/250\t\n"
        "Old.tif\tCaf\xE9 CAM-9\tF0.0\t35\t200\tn/a\t\n"
        "a.jpg\tNikon CAM-1\tF4.0\t54\t400\t1/2\t\n");

    Click(m_ui.QueryButton()); // the emptied catalogue lists nothing
    EXPECT_EQ(Results()->model()->rowCount(), 0);
    EXPECT_EQ(m_ui.MatchesLabel()->text(), "0/0");
}
