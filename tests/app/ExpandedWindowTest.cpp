// SPDX-License-Identifier: MIT
// The expanded window through its controls: switching it on and off, the panel's filters
// and faceted counts, its keys, the four more columns, the export and the charts by name.
#include "tests/app/MainWindowDriver.h"

#include "app/ExpandedPanel.h"
#include "app/FilesNotReadDialog.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>

#include <QDir>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

namespace {

class ExpandedWindowTest : public MainWindowTest {
protected:
    // A photo of camera (make, model) with lens (empty: none), date (empty: none),
    // f-number in tenths and ISO (0: none).
    QString Photo(const char* name, const char* make, const char* model, const char* lens,
        const char* date, std::uint32_t tenths, std::uint16_t iso) const
    {
        CorpusPhoto photo;
        std::tie(photo.make, photo.model, photo.lens, photo.dateTime, photo.fNumber, photo.iso,
            photo.exposureTime, photo.focalLength, photo.focal35, photo.fileSize)
            = std::make_tuple(make, model, lens, date, CorpusRational { tenths, 10 }, iso,
                CorpusRational { 1, 100 }, CorpusRational { 50, 1 },
                static_cast<std::uint16_t>(60 + tenths), 2 << 20);
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(WriteCorpusFile(QFile::encodeName(path).toStdString(), photo));
        return path;
    }

    // p1..p3 by the Canon CAM-2, p4 and p5 by the Nikon CAM-1; p3 has neither lens, date
    // nor ISO; one file that is no photo.
    void OpenFivePhotos()
    {
        QStringList paths
            = { Photo("p1.jpg", "Canon", "Canon CAM-2", "L50", "2024:01:01 10:00:00", 18, 100),
                  Photo("p2.jpg", "Canon", "Canon CAM-2", "L50", "2024:01:02 10:00:00", 28, 800),
                  Photo("p3.jpg", "Canon", "Canon CAM-2", "", "", 18, 0),
                  Photo("p4.jpg", "NIKON", "NIKON CAM-1", "Z24", "2024:01:03 10:00:00", 18, 1600),
                  Photo("p5.jpg", "NIKON", "NIKON CAM-1", "L50", "2024:01:05 23:59:59", 40, 200) };
        QFile text(m_dir.filePath("notes.txt"));
        EXPECT_TRUE(text.open(QIODevice::WriteOnly) && text.write("no photo") == 8);
        paths << text.fileName();
        OpenPhotos(paths);
    }

    void ChooseExpanded()
    {
        Click(m_dialog.childAt(27, 24));
        ChooseFromMenu("E&xpanded Window");
    }

    // The window's picture with the pointer resting on the background, so that no control
    // shows it hovering.
    QImage RestingPicture()
    {
        QTest::mouseMove(&m_dialog, QPoint(3, m_dialog.height() - 3));
        return Picture();
    }

    ExpandedPanel* Panel() const { return m_dialog.findChild<ExpandedPanel*>(); }

    // Each line of a panel list as "name=count", checked ones marked with a '*'.
    static QString Lines(const QTreeWidget* list)
    {
        QString text;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* line = list->topLevelItem(i);
            text += (line->checkState(0) == Qt::Checked ? "*" : "") + line->text(0) + '='
                + line->text(1) + ' ';
        }
        return text;
    }
    QString Counts() const
    {
        return Lines(Panel()->m_cameraList) + "| " + Lines(Panel()->m_lensList)
            + m_ui.MatchesLabel()->text();
    }

    // Clicks the name of line i, or its check box.
    static void ClickLine(QTreeWidget* list, int i, bool onBox)
    {
        const QRect line = list->visualItemRect(list->topLevelItem(i));
        Click(list->viewport(),
            QPoint(onBox ? line.left() + 10 : line.left() + 60, line.center().y()));
    }
};

// Off, on and off again: the template's controls keep their pixels, the window grows by
// the panel and comes back to the template's size, and the query's state stays.
TEST_F(ExpandedWindowTest, SwitchingKeepsTheTemplateAtItsPixelsAndTheQueryState)
{
    OpenFivePhotos();
    Click(m_ui.QueryButton());
    const QSize templateSize = m_dialog.size();
    const QRect list = Results()->geometry();
    const QRect chart = m_ui.Chart()->geometry();
    const QImage before = RestingPicture();
    EXPECT_FALSE(Panel()->isVisible());

    // On the offscreen screen, 800 pixels wide, the window grows until the list shows 15
    // rows and moves left to stay on it; the chart takes a third of the 239 more pixels,
    // the list the rest.
    m_dialog.move(40, 30);
    ChooseExpanded();
    EXPECT_TRUE(Panel()->isVisible());
    EXPECT_EQ(m_dialog.size(), QSize(883, 662));
    EXPECT_EQ(m_dialog.pos(), QPoint(0, 30));
    EXPECT_EQ(m_dialog.minimumSize(), templateSize + QSize(290, 0));
    EXPECT_EQ(Results()->geometry(), list.adjusted(0, 79, 0, 239));
    EXPECT_EQ(m_ui.Chart()->geometry(), chart.adjusted(0, 0, 0, 79));
    // Asked to be larger than its screen (800 x 800 off screen, the frame 2 pixels wide),
    // the window is as high as the screen holds and no narrower than its minimum.
    m_dialog.resize(32767, 32767);
    EXPECT_EQ(m_dialog.size(), QSize(std::max(796, m_dialog.minimumWidth()), 796));
    m_dialog.resize(templateSize + QSize(290, 0));
    // The template area is the same picture but for the list, which gains four columns.
    QImage expanded = RestingPicture().copy(QRect(QPoint(0, 0), templateSize));
    QImage original = before;
    for (QImage* image : { &expanded, &original })
        QPainter(image).fillRect(list, Qt::black);
    EXPECT_TRUE(expanded == original);
    EXPECT_EQ(m_ui.ShowCombo()->count(), 8);
    EXPECT_EQ(m_ui.ShowCombo()->itemText(5) + m_ui.ShowCombo()->itemText(6), "LensCamera");

    // Higher, the chart takes a third of the extra height, the list the rest.
    m_dialog.resize(m_dialog.size() + QSize(0, 90));
    EXPECT_EQ(m_ui.Chart()->geometry(), chart.adjusted(0, 0, 0, 30));
    EXPECT_EQ(Results()->geometry(), list.adjusted(0, 30, 0, 90));
    EXPECT_EQ(Panel()->geometry(), QRect(templateSize.width(), 0, 290, templateSize.height() + 90));

    // Ctrl+E switches it off: the template's window exactly, with the same matches; the
    // panel's filters (a camera unchecked) no longer apply to the next query.
    m_ui.ShowCombo()->setCurrentIndex(5);
    ClickLine(Panel()->m_cameraList, 0, true);
    Click(m_ui.QueryButton());
    ASSERT_NE(m_ui.MatchesLabel()->text(), "5/5");
    Press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_FALSE(Panel()->isVisible());
    EXPECT_EQ(m_dialog.size(), templateSize);
    EXPECT_EQ(m_dialog.pos(), QPoint(40, 30));
    EXPECT_EQ(m_dialog.minimumSize(), m_dialog.maximumSize());
    EXPECT_EQ(m_ui.ShowCombo()->count(), 5);
    Click(m_ui.QueryButton());
    EXPECT_EQ(m_ui.MatchesLabel()->text(), "5/5");
    EXPECT_TRUE(RestingPicture() == before);
}

// Faceted counts and the "without a value" rule on five photos, through the panel: a name
// click checks that line alone, a click on its box toggles it, Space toggles, Enter queries.
TEST_F(ExpandedWindowTest, FacetedCountsTheWithoutAValueRuleNameClicksBoxesAndKeys)
{
    OpenFivePhotos();
    Press(Qt::Key_E, Qt::ControlModifier);
    ExpandedPanel* panel = Panel();
    EXPECT_EQ(panel->m_readLine->text(), "5 photos read, 1 files skipped");
    EXPECT_EQ(panel->m_readLine->toolTip(), "Skipped: 1 no EXIF block");
    EXPECT_EQ(panel->m_takenFrom->date(), QDate(2024, 1, 1));
    EXPECT_EQ(panel->m_takenTo->date(), QDate(2024, 1, 5));
    EXPECT_TRUE(panel->m_withoutValuePasses->isChecked());
    Click(m_ui.QueryButton());
    EXPECT_EQ(Counts(), "*Canon CAM-2=3 *Nikon CAM-1=2 | *L50=3 *Z24=1 *(no lens recorded)=1 5/5");

    // ISO 800 and up: p3, without an ISO, passes while the rule is checked, then not.
    m_ui.IsoMinCombo()->setCurrentIndex(2);
    Click(m_ui.QueryButton());
    EXPECT_EQ(Counts(), "*Canon CAM-2=2 *Nikon CAM-1=1 | *L50=1 *Z24=1 *(no lens recorded)=1 3/5");
    Click(panel->m_withoutValuePasses, QPoint(6, panel->m_withoutValuePasses->height() / 2));
    EXPECT_FALSE(panel->m_withoutValuePasses->isChecked());
    Click(m_ui.QueryButton());
    EXPECT_EQ(Counts(), "*Canon CAM-2=1 *Nikon CAM-1=1 | *L50=1 *Z24=1 *(no lens recorded)=0 2/5");

    // A click on Nikon's name: Nikon alone. A click on Canon's box: Canon as well.
    ClickLine(panel->m_cameraList, 1, false);
    Click(m_ui.QueryButton());
    EXPECT_EQ(Counts(), "Canon CAM-2=1 *Nikon CAM-1=1 | *L50=0 *Z24=1 *(no lens recorded)=0 1/5");
    ClickLine(panel->m_cameraList, 0, true);
    Click(m_ui.QueryButton());
    EXPECT_EQ(Counts(), "*Canon CAM-2=1 *Nikon CAM-1=1 | *L50=1 *Z24=1 *(no lens recorded)=0 2/5");
    // Space on the current line (Canon) toggles it off; Enter in the list queries.
    panel->m_cameraList->setFocus();
    panel->m_cameraList->setCurrentItem(panel->m_cameraList->topLevelItem(0));
    Press(Qt::Key_Space);
    Press(Qt::Key_Return);
    EXPECT_EQ(Counts(), "Canon CAM-2=1 *Nikon CAM-1=1 | *L50=0 *Z24=1 *(no lens recorded)=0 1/5");

    // Days at their edges: the last day alone lists p5 (taken at 23:59:59), and with the
    // rule checked p3, which has no date, too.
    ClickLine(panel->m_cameraList, 0, true);
    m_ui.IsoMinCombo()->setCurrentIndex(0);
    panel->m_takenFrom->setFocus();
    panel->m_takenFrom->setDate(QDate(2024, 1, 5));
    Press(Qt::Key_Return);
    EXPECT_EQ(Counts(), "*Canon CAM-2=0 *Nikon CAM-1=1 | *L50=1 *Z24=0 *(no lens recorded)=0 1/5");
    Click(panel->m_withoutValuePasses, QPoint(6, panel->m_withoutValuePasses->height() / 2));
    panel->m_takenFrom->setDate(QDate(2024, 1, 1));
    panel->m_takenTo->setDate(QDate(2024, 1, 1));
    Click(m_ui.QueryButton());
    EXPECT_EQ(Counts(), "*Canon CAM-2=2 *Nikon CAM-1=0 | *L50=1 *Z24=0 *(no lens recorded)=1 2/5");
    EXPECT_EQ(Order(), "p1.jpg p3.jpg ");

    // Tab from Exit reaches the panel's controls after the template's, in their order (a
    // date box takes Tab to step from year to month to day first): their indexes as reached.
    QWidget* const controls[] = { panel->m_cameraList, panel->m_lensList, panel->m_takenFrom,
        panel->m_takenTo, panel->m_withoutValuePasses };
    std::string reached;
    m_ui.ExitButton()->setFocus();
    for (int i = 0; i < 60 && (i == 0 || QApplication::focusWidget() != m_ui.ExitButton());
         ++i, Press(Qt::Key_Tab)) {
        QWidget* focus = QApplication::focusWidget();
        for (QWidget* const& control : controls) {
            const char index = static_cast<char>('0' + (&control - controls));
            if ((focus == control || control->isAncestorOf(focus))
                && (reached.empty() || reached.back() != index))
                reached += index;
        }
    }
    EXPECT_EQ(reached, "01234");
}

// The four columns sort both ways; the export writes the columns shown; Show Lens and
// Camera chart one bar per name; a query redraws the chart with its own matches.
TEST_F(ExpandedWindowTest, NewColumnsSortBothWaysTheExportFollowsTheColumnsAndChartsByName)
{
    OpenFivePhotos();
    Click(m_ui.QueryButton());
    // A narrower query redraws the chart: not the previous matches' bars.
    const ChartBins all = m_ui.Chart()->Bins();
    const QImage allChart = Picture().copy(m_ui.Chart()->geometry());
    m_ui.ApertureMaxCombo()->setCurrentIndex(0); // F1.8 only
    Click(m_ui.QueryButton());
    EXPECT_EQ(all.counts, (std::vector<int> { 3, 1, 1 }));
    EXPECT_EQ(m_ui.Chart()->Bins().counts, std::vector<int> { 3 });
    EXPECT_FALSE(Picture().copy(m_ui.Chart()->geometry()) == allChart);
    m_ui.ApertureMaxCombo()->setCurrentIndex(2);
    Click(m_ui.QueryButton());

    Press(Qt::Key_E, Qt::ControlModifier);
    Click(m_ui.QueryButton());
    const QAbstractItemModel* rows = Results()->model();
    EXPECT_EQ(Column(rows, LensColumn), "L50 L50  Z24 L50 ");
    EXPECT_EQ(Column(rows, TakenColumn),
        "2024-01-01 10:00:00 2024-01-02 10:00:00  2024-01-03 10:00:00 2024-01-05 23:59:59 ");
    EXPECT_EQ(Column(rows, Focal35Column), "78 88 78 78 100 ");
    EXPECT_EQ(Column(rows, FolderColumn), QString(m_dir.path() + ' ').repeated(5));
    const std::pair<int, const char*> clicks[]
        = { { LensColumn, "p3.jpg p1.jpg p2.jpg p5.jpg p4.jpg " },
              { LensColumn, "p4.jpg p1.jpg p2.jpg p5.jpg p3.jpg " },
              { TakenColumn, "p3.jpg p1.jpg p2.jpg p4.jpg p5.jpg " },
              { TakenColumn, "p5.jpg p4.jpg p2.jpg p1.jpg p3.jpg " },
              { Focal35Column, "p4.jpg p1.jpg p3.jpg p2.jpg p5.jpg " },
              { FolderColumn, "p4.jpg p1.jpg p3.jpg p2.jpg p5.jpg " } };
    for (const auto& [column, order] : clicks) {
        Results()->scrollTo(rows->index(0, column));
        ClickHeading(column);
        EXPECT_EQ(Order(), order) << column;
    }

    Results()->scrollTo(rows->index(0, 0));
    m_desktop.saveTarget = m_dir.filePath("wide.csv");
    Click(Results()->viewport(), RowCentre(0), Qt::RightButton);
    ChooseFromMenu("Export to CSV");
    QFile wide(m_desktop.saveTarget);
    ASSERT_TRUE(wide.open(QIODevice::ReadOnly));
    // Every row ends with its folder (@) and a tab.
    EXPECT_EQ(wide.readAll(),
        QByteArray(
            "Filename\tCamera\tAperture\tFocal Length\tISO\tShutter Speed\tLens\tTaken\t"
            "35 mm Focal Length\tFolder\n"
            "p4.jpg\tNikon CAM-1\tF1.8\t50\t1600\t1/100\tZ24\t2024-01-03 10:00:00\t78\t@\t\n"
            "p1.jpg\tCanon CAM-2\tF1.8\t50\t100\t1/100\tL50\t2024-01-01 10:00:00\t78\t@\t\n"
            "p3.jpg\tCanon CAM-2\tF1.8\t50\tn/a\t1/100\t\t\t78\t@\t\n"
            "p2.jpg\tCanon CAM-2\tF2.8\t50\t800\t1/100\tL50\t2024-01-02 10:00:00\t88\t@\t\n"
            "p5.jpg\tNikon CAM-1\tF4.0\t50\t200\t1/100\tL50\t2024-01-05 23:59:59\t100\t@\t\n")
            .replace('@', QFile::encodeName(m_dir.path())));

    // Show Lens and Camera: a bar per name, tallest first.
    m_ui.ShowCombo()->setFocus();
    m_ui.ShowCombo()->setCurrentIndex(5);
    Press(Qt::Key_Return); // Enter in Show redraws the chart
    EXPECT_EQ(m_ui.Chart()->Bins().names,
        (std::vector<std::string> { "L50", "(no lens recorded)", "Z24" }));
    m_ui.ShowCombo()->setCurrentIndex(6);
    Press(Qt::Key_Return);
    EXPECT_EQ(
        m_ui.Chart()->Bins().names, (std::vector<std::string> { "Canon CAM-2", "Nikon CAM-1" }));

    // Not expanded, the export is the template's six columns again.
    Press(Qt::Key_E, Qt::ControlModifier);
    m_desktop.saveTarget = m_dir.filePath("narrow.csv");
    Click(Results()->viewport(), RowCentre(0), Qt::RightButton);
    ChooseFromMenu("Export to CSV");
    QFile narrow(m_desktop.saveTarget);
    ASSERT_TRUE(narrow.open(QIODevice::ReadOnly));
    EXPECT_EQ(narrow.readLine(), "Filename\tCamera\tAperture\tFocal Length\tISO\tShutter Speed\n");
    EXPECT_EQ(narrow.readLine(), "p4.jpg\tNikon CAM-1\tF1.8\t50\t1600\t1/100\t\n");
}

// JPEGs whose EXIF segment follows a JFIF segment are files without an EXIF block to the
// window as it starts and photos of the expanded window: switching fills the bound lists
// and the panel from the view shown and lists its photos; switched off, the window and its
// export are the template's again.
TEST_F(ExpandedWindowTest, JpegsWithSegmentsBeforeExifCountOnlyInTheExpandedWindow)
{
    const auto later = [this](const char* name, std::uint16_t iso, bool more) {
        CorpusPhoto photo;
        std::tie(photo.make, photo.model, photo.iso, photo.fNumber, photo.jfifFirst,
            photo.iccBeforeExif, photo.photoshopBeforeExif, photo.bigEndian)
            = std::make_tuple(
                "SONY", "CAM-9", iso, CorpusRational { 40, 10 }, true, more, more, more);
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(WriteCorpusFile(QFile::encodeName(path).toStdString(), photo));
        return path;
    };
    OpenPhotos({ Photo("p1.jpg", "Canon", "Canon CAM-2", "L50", "2024:01:01 10:00:00", 18, 100),
        later("j1.jpg", 800, false), later("j2.jpg", 1600, true) });
    Click(m_ui.QueryButton());
    EXPECT_EQ(m_ui.MatchesLabel()->text(), "1/1");
    EXPECT_EQ(Entries(m_ui.IsoMaxCombo()), "100 (100)");
    const QImage before = RestingPicture();

    ChooseExpanded();
    EXPECT_EQ(Entries(m_ui.IsoMaxCombo()), "100 800 1600 (1600)");
    EXPECT_EQ(Order(), "p1.jpg j1.jpg j2.jpg ");
    EXPECT_EQ(Counts(), "*Canon CAM-2=1 *Sony CAM-9=2 | *L50=1 *(no lens recorded)=2 3/3");
    EXPECT_EQ(Panel()->m_readLine->text(), "3 photos read, 0 files skipped");
    m_ui.IsoMinCombo()->setCurrentIndex(1);
    Click(m_ui.QueryButton());
    EXPECT_EQ(Order() + m_ui.MatchesLabel()->text(), "j1.jpg j2.jpg 2/3");

    Press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(RestingPicture() == before);
    m_desktop.saveTarget = m_dir.filePath("narrow.csv");
    Click(Results()->viewport(), RowCentre(0), Qt::RightButton);
    ChooseFromMenu("Export to CSV");
    QFile narrow(m_desktop.saveTarget);
    ASSERT_TRUE(narrow.open(QIODevice::ReadOnly));
    EXPECT_EQ(narrow.readAll(),
        "Filename\tCamera\tAperture\tFocal Length\tISO\tShutter Speed\n"
        "p1.jpg\tCanon CAM-2\tF1.8\t50\t100\t1/100\t\n");

    // A folder of such files alone: nothing to query in the window as it starts.
    OpenPhotos({ later("j3.jpg", 200, false) });
    EXPECT_FALSE(m_ui.QueryButton()->isEnabled());
    ChooseExpanded();
    EXPECT_EQ(Order() + m_ui.MatchesLabel()->text(), "j3.jpg 1/1");
    ChooseExpanded();
    EXPECT_EQ(Order() + m_ui.MatchesLabel()->text(), "");
    EXPECT_FALSE(m_ui.QueryButton()->isEnabled());
}

// A photo whose lens and ISO speed only its maker's note gives: the window as it starts
// shows no ISO for it, the expanded window the note's ISO, lens and the lens's source, in
// its list, lens list and charts, and switched off the template's values again.
TEST_F(ExpandedWindowTest, TheMakersNoteGivesLensAndIsoToTheExpandedWindowOnly)
{
    CorpusPhoto nikon;
    std::tie(nikon.make, nikon.model, nikon.note, nikon.noteIso, nikon.fNumber) = std::make_tuple(
        "NIKON CORPORATION", "NIKON D700", CorpusNote::Nikon, 800, CorpusRational { 28, 10 });
    std::tie(nikon.noteFocal[0], nikon.noteFocal[1], nikon.noteF[0], nikon.noteF[1])
        = std::make_tuple(18, 70, 35, 45);
    const QString path = m_dir.filePath("n.jpg");
    ASSERT_TRUE(WriteCorpusFile(QFile::encodeName(path).toStdString(), nikon));
    OpenPhotos({ path, Photo("p1.jpg", "Canon", "Canon CAM-2", "L50", "", 18, 100) });
    Click(m_ui.QueryButton());
    const QAbstractItemModel* rows = Results()->model();
    m_ui.ShowCombo()->setFocus();
    m_ui.ShowCombo()->setCurrentIndex(Iso);
    Press(Qt::Key_Return);
    EXPECT_EQ(Column(rows, IsoColumn), "n/a 100 ");
    EXPECT_EQ(m_ui.Chart()->Bins().values, std::vector<double> { 100 });

    Press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(Column(rows, IsoColumn), "800 100 ");
    EXPECT_EQ(m_ui.Chart()->Bins().values, (std::vector<double> { 100, 800 }));
    Click(m_ui.QueryButton());
    EXPECT_EQ(
        Column(rows, IsoColumn) + Column(rows, LensColumn), "800 100 18-70 mm f/3.5-4.5 L50 ");
    EXPECT_EQ(rows->index(0, LensColumn).data(Qt::ToolTipRole), "Nikon Lens (0x0084)");
    EXPECT_EQ(rows->index(0, IsoColumn).data(Qt::ToolTipRole), "Nikon ISO (0x0002)");
    EXPECT_EQ(Lines(Panel()->m_lensList), "*18-70 mm f/3.5-4.5=1 *L50=1 ");

    Press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(Column(rows, IsoColumn), "n/a 100 ");
    EXPECT_EQ(m_ui.Chart()->Bins().values, std::vector<double> { 100 });
    EXPECT_FALSE(rows->index(0, IsoColumn).data(Qt::ToolTipRole).isValid());
}

// Started from the command line: expanded, the paths read as a drop reads them. The
// panel's Open Folder asks over the window, before any scan box.
TEST_F(ExpandedWindowTest, StartedExpandedWithPathsAndOpenFolderFromThePanel)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkpath("tree/a"));
    Photo("tree/a/p1.jpg", "Canon", "Canon CAM-2", "L50", "", 18, 100);
    Photo("tree/p2.jpg", "Canon", "Canon CAM-2", "L50", "", 18, 100);
    const QString alone = Photo("alone.dat", "NIKON", "NIKON CAM-1", "", "", 18, 100);
    for (const char* name : { "tree/a/bad.jpg", "tree/clip.MOV" }) {
        QFile other(m_dir.filePath(name));
        ASSERT_TRUE(other.open(QIODevice::WriteOnly) && other.write("no photo") == 8);
    }
    m_dialog.StartWith(true,
        { QFile::encodeName(m_dir.filePath("tree")).toStdString(),
            QFile::encodeName(alone).toStdString() });
    QCoreApplication::processEvents(); // the start waits for the window's event loop
    EXPECT_TRUE(m_dialog.IsExpanded());
    EXPECT_EQ(
        Panel()->m_readLine->text(), "3 photos read, 1 files skipped, 1 files of other kinds");

    QString modalThen = "?";
    m_desktop.whileChoosingFolder = [&](QWidget* parent) {
        modalThen = QApplication::activeModalWidget() ? "a scan box" : "none";
        EXPECT_EQ(parent, &m_dialog);
    };
    m_desktop.folderToOpen = m_dir.filePath("tree");
    Click(Panel()->m_openFolderButton);
    EXPECT_EQ(modalThen, "none");
    EXPECT_EQ(
        Panel()->m_readLine->text(), "2 photos read, 1 files skipped, 1 files of other kinds");
    EXPECT_EQ(Lines(Panel()->m_cameraList), "*Canon CAM-2=2 ");

    // Files Not Read: both files with their reasons; Copy and Export give the list.
    m_desktop.saveTarget = m_dir.filePath("not-read.txt");
    const QByteArray tree = QFile::encodeName(m_dir.filePath("tree"));
    const QByteArray expected
        = tree + "/a/bad.jpg\tno EXIF block\n" + tree + "/clip.MOV\tnot a photo format (.MOV)\n";
    QString shown;
    WithModal([&] { Click(Panel()->m_filesNotReadButton); },
        [&](QWidget* modal) {
            auto* list = qobject_cast<FilesNotReadDialog*>(modal);
            ASSERT_TRUE(list);
            shown = Column(list->m_list->model(), 1);
            Click(list->m_copyButton);
            Click(list->m_exportButton);
            list->close();
        });
    EXPECT_EQ(shown, "no EXIF block not a photo format (.MOV) ");
    EXPECT_EQ(QApplication::clipboard()->text().toUtf8(), expected);
    QFile exported(m_desktop.saveTarget);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll(), expected);
}

// All, None, Only This, the filter box, type-ahead, "only photos without", counts right as
// the window comes on, a typed date, and a sort that outlives Query with its arrow.
TEST_F(ExpandedWindowTest, ListsAnswerQuestionsAndTheSortStays)
{
    OpenFivePhotos();
    m_ui.ApertureMaxCombo()->setCurrentIndex(0); // F1.8: p1, p3, p4
    Click(m_ui.QueryButton());
    Press(Qt::Key_E, Qt::ControlModifier);
    ExpandedPanel* panel = Panel();
    EXPECT_EQ(Counts(), "*Canon CAM-2=2 *Nikon CAM-1=1 | *L50=1 *Z24=1 *(no lens recorded)=1 3/5");
    // The open bound lists show their longest entry whole.
    const QComboBox* shutter = m_ui.ShutterMinCombo();
    EXPECT_GT(shutter->view()->minimumWidth(), shutter->fontMetrics().horizontalAdvance("1/100"));

    // Typed names move to a line and never toggle a box, the space included.
    panel->m_lensList->setFocus();
    QTest::keyClicks(panel->m_lensList, "(no l");
    EXPECT_EQ(panel->m_lensList->currentItem()->text(0), "(no lens recorded)");
    QTest::keyClicks(panel->m_cameraList, "Nikon CAM");
    EXPECT_EQ(panel->m_cameraList->currentItem()->text(0), "Nikon CAM-1");
    EXPECT_EQ(Counts(), "*Canon CAM-2=2 *Nikon CAM-1=1 | *L50=1 *Z24=1 *(no lens recorded)=1 3/5");

    // None and All act on the lines the filter shows.
    QTest::keyClicks(panel->m_cameraFilter, "nik");
    EXPECT_TRUE(panel->m_cameraList->topLevelItem(0)->isHidden());
    Click(panel->m_cameraNone);
    panel->m_cameraFilter->clear();
    Click(m_ui.QueryButton());
    EXPECT_EQ(Counts(), "*Canon CAM-2=2 Nikon CAM-1=1 | *L50=1 *Z24=0 *(no lens recorded)=1 2/5");
    Click(panel->m_cameraNone);
    Click(panel->m_cameraAll);
    // Only This from a line's menu.
    const QRect z24 = panel->m_lensList->visualItemRect(panel->m_lensList->topLevelItem(1));
    Click(panel->m_lensList->viewport(), z24.center(), Qt::RightButton);
    ChooseFromMenu("&Only This");
    Click(m_ui.QueryButton());
    EXPECT_EQ(Counts(), "*Canon CAM-2=0 *Nikon CAM-1=1 | L50=1 *Z24=1 (no lens recorded)=1 1/5");
    Click(panel->m_lensAll);

    // Only photos without an ISO: p3; without a lens too: still p3; all apertures.
    m_ui.ApertureMaxCombo()->setCurrentIndex(2);
    for (QCheckBox* check : panel->m_onlyWithout)
        if (check->text() == "ISO" || check->text() == "Lens")
            Click(check, QPoint(6, check->height() / 2));
    Click(m_ui.QueryButton());
    EXPECT_EQ(Counts(), "*Canon CAM-2=1 *Nikon CAM-1=0 | *L50=0 *Z24=0 *(no lens recorded)=1 1/5");
    for (QCheckBox* check : panel->m_onlyWithout)
        check->setChecked(false);

    // A date typed into the day part after a click on it.
    auto* dayText = panel->m_takenFrom->findChild<QLineEdit*>();
    Click(dayText, QPoint(dayText->width() - 4, dayText->height() / 2));
    QCoreApplication::processEvents();
    QTest::keyClicks(dayText, "02");
    EXPECT_EQ(panel->m_takenFrom->date(), QDate(2024, 1, 2));
    panel->m_takenFrom->setDate(QDate(2024, 1, 1));

    // ISO descending, p1 selected: a Query up to ISO 800 keeps both, and the heading shows
    // the arrow.
    Click(m_ui.QueryButton());
    ClickHeading(IsoColumn);
    ClickHeading(IsoColumn);
    Click(Results()->viewport(), RowCentre(3));
    EXPECT_EQ(Order(), "p4.jpg p2.jpg p5.jpg p1.jpg p3.jpg ");
    m_ui.IsoMaxCombo()->setCurrentIndex(2);
    Click(m_ui.QueryButton());
    EXPECT_EQ(Order(), "p2.jpg p5.jpg p1.jpg p3.jpg ");
    EXPECT_EQ(Results()->selectionModel()->selectedRows().value(0).row(), 2);
    QHeaderView* header = Results()->horizontalHeader();
    EXPECT_TRUE(header->isSortIndicatorShown());
    EXPECT_EQ(header->sortIndicatorSection(), IsoColumn);
    Press(Qt::Key_E, Qt::ControlModifier);
    EXPECT_FALSE(header->isSortIndicatorShown());
}

// The expanded window's first size: 15 rows of the list, the panel as wide as its names up
// to a third of the window, within the screen's room.
TEST(ExpandedLayout, TheFirstSizeFitsFifteenRowsAndTheNamesOnTheScreen)
{
    ExpandedStart start;
    start.templateSize = QSize(593, 423);
    start.list = QRect(11, 357, 571, 95);
    start.rowHeight = 19;
    start.headerHeight = 21;
    start.columnsWidth = 400;
    // The list needs 21 + 15 x 19 + 4 = 310 pixels, 215 more, two thirds of 323.
    const std::tuple<int, QSize, QSize> cases[] = { { 350, { 1920, 1040 }, { 1343, 746 } },
        { 900, { 1920, 1040 }, { 1489, 746 } }, { 100, { 1920, 1040 }, { 1283, 746 } },
        { 350, { 1000, 700 }, { 1000, 700 } }, { 350, { 800, 600 }, { 883, 600 } } };
    for (const auto& [names, available, size] : cases) {
        start.namesWidth = names;
        start.available = available;
        EXPECT_EQ(ExpandedStartSize(start), size) << names << " " << available.width();
    }
}

// The layout of the expanded window as a plain function.
TEST(ExpandedLayout, TheTemplateAreaStaysAndTheExtraSpaceGoesToChartAndList)
{
    const QSize templateSize(593, 423);
    const QRect chart(11, 135, 571, 214), list(11, 357, 571, 95);
    const std::tuple<QSize, QRect, QRect, QRect> cases[]
        = { { { 883, 423 }, chart, list, { 593, 0, 290, 423 } },
              { { 883, 300 }, chart, list, { 593, 0, 290, 423 } },
              { { 983, 723 }, chart.adjusted(0, 0, 100, 100), list.adjusted(0, 100, 100, 300),
                  { 693, 0, 290, 723 } },
              { { 884, 424 }, chart.adjusted(0, 0, 1, 0), list.adjusted(0, 0, 1, 1),
                  { 594, 0, 290, 424 } } };
    for (const auto& [client, chartAt, listAt, panelAt] : cases) {
        const ExpandedLayout layout = LayoutExpanded(templateSize, chart, list, 290, client);
        EXPECT_EQ(std::make_tuple(layout.chart, layout.list, layout.panel),
            std::make_tuple(chartAt, listAt, panelAt));
    }
}

} // namespace
