// SPDX-License-Identifier: MIT
// The two ways in besides Open: files and folders dropped on the window, and Open Folder
// from the window menu or its key. Drags arrive as the window system delivers them, as
// enter, move and drop events to the widget under the pointer.
#include "tests/app/MainWindowDriver.h"

#include "app/DroppedItems.h"
#include "controls/CTransparentStatic.h"
#include "controls/ProgressBox.h"
#include "query/ResultsModel.h"
#include "scan/CScanProgressDlg.h"
#include "tests/support/TestRow.h"

#include <QDropEvent>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Drags a text/uri-list (or, for nullptr, plain text) over the centre of control as the
// window system does: enter, move, then a drop or a leave. Whether the last event
// was taken for copying.
bool Drag(CMainDialog& window, const QWidget* control, const char* uriList,
    Qt::DropActions actions = Qt::CopyAction, bool drop = true)
{
    QMimeData data;
    if (uriList)
        data.setData(QStringLiteral("text/uri-list"), uriList);
    if (drop || !uriList) // a file manager offers the URLs as plain text too
        data.setText(QString::fromLatin1(uriList ? uriList : "/p/a.jpg"));
    const QPoint centre = control->geometry().center();
    QWidget* target = window.childAt(centre);
    const QPoint at = target->mapFrom(&window, centre);
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent dropped(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QDragLeaveEvent leave;
    QApplication::sendEvent(target, drop ? static_cast<QEvent*>(&dropped) : &leave);
    QDropEvent& last = drop ? dropped : move;
    const bool taken = last.isAccepted() && last.dropAction() == Qt::CopyAction;
    QCoreApplication::processEvents(); // a dropped run starts once the drop has returned
    return taken;
}

// Records the notices of the scan runs while it lives (P for progress, D for done, C for
// closed) and what the progress window shows at the last one; at the cancelAt-th progress
// notice cancels by a click on Cancel (1), Escape (2) or the close box (3).
class ScanWatcher : public QObject {
public:
    ScanWatcher() { qApp->installEventFilter(this); }
    ~ScanWatcher() override { qApp->removeEventFilter(this); }
    std::string notices;
    QString shown;
    std::size_t cancelAt = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* scan = qobject_cast<CScanProgressDlg*>(watched);
        if (scan && event->type() == QEvent::Show)
            connect(scan, &CScanProgressDlg::NoticeHandled, this, [this, scan](int code) {
                if (code == ScanFolder)
                    return; // the folders a walk looks through, shown now and then
                notices += code == ScanProgress ? 'P' : code == ScanDone ? 'D' : 'C';
                shown = scan->m_fileLabel->text() + " " + scan->m_countLabel->text();
                if (code != ScanProgress || notices.size() != cancelAt)
                    return;
                cancelAt == 1       ? Click(scan->findChild<QPushButton*>())
                    : cancelAt == 2 ? QTest::keyClick(scan, Qt::Key_Escape)
                                    : void(scan->close());
            });
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

// A text/uri-list gives the local paths it names as their bytes. A drag is taken, for
// copying, only when it carries a local file or folder, wherever it comes over the
// window; the focal boxes leave such a drag to the window.
// Files and folders dropped together (on a focal box, which keeps its text) are read in
// their order: a file whatever its name, a folder walked without its hidden folders and
// other files. A name that is not UTF-8 is listed with a replacement character, opened
// and exported with its bytes; a photo the desktop has no program for says why.
TEST_F(MainWindowTest, DragIsTakenWithLocalFilesTheDropWalksFoldersAndSoDoesOpenFolder)
{
    const std::pair<const char*, std::vector<std::string>> uriLists[] = {
        { "file:///p/Sommer%202023/%C3%BC%23%3F%25.jpg", { "/p/Sommer 2023/\xc3\xbc#?%.jpg" } },
        { "FILE://localhost/p/Roll/\nfile:/p/short", { "/p/Roll", "/p/short" } },
        { "# a comment\r\nhttp://example.com/a.jpg\r\nfile://camera/p/a.jpg\r\nfile:///p/c.jpg",
            { "/p/c.jpg" } },
        { "file:///p/nul%00.jpg\r\nfile://\r\nfile:relative.jpg\r\n\r\n", {} },
        { "file:///p/a.jpg?query#fragment", { "/p/a.jpg" } }
    };
    for (const auto& [uriList, paths] : uriLists)
        EXPECT_EQ(LocalPathsOfUriList(QByteArray(uriList)), paths) << uriList;
    const std::tuple<const char*, Qt::DropActions, bool> rows[]
        = { { "file:///p/a.jpg\r\n", Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, true },
              { "http://example.com/a.jpg\r\nfile:///p/Roll\r\n", Qt::CopyAction, true },
              { "file:///p/a.jpg\r\n", Qt::MoveAction, false },
              { "http://example.com/a.jpg\r\n", Qt::CopyAction, false },
              { "file://camera/p/a.jpg\r\n", Qt::CopyAction, false },
              { nullptr, Qt::CopyAction, false } };
    for (const auto& [uriList, actions, taken] : rows)
        for (const QWidget* control : std::initializer_list<const QWidget*> {
                 m_ui.ResultsList(), m_ui.Chart(), m_ui.ApertureMinCombo(), m_ui.FocalMinEdit() }) {
            if (!uriList && control == m_ui.FocalMinEdit())
                continue; // plain text is the edit's own to take
            EXPECT_EQ(Drag(m_dialog, control, uriList, actions, false), taken)
                << (uriList ? uriList : "text") << " at " << control->x() << ", " << control->y();
        }
    for (const auto& [name, tenths] : { std::pair { "a.jpg", 28u }, { "loose.dat", 80u },
             { "Roll/b.JPG", 40u }, { "Roll/sub/d.jpeg", 56u }, { "Roll/.thumbs/c.jpg", 110u },
             { "Roll/notes.txt", 160u }, { "bad\xff.jpg", 71u }, { "Trip/day1/IMG_0001.JPG", 40u },
             { "Trip/day2/IMG_0002.JPG", 56u }, { "Trip/IMG_0003.tif", 80u },
             { "Trip/IMG_0003.xmp", 110u } })
        WritePhoto(name, { tenths, 10 });
    const QByteArray folder = QFile::encodeName(m_dir.path()) + '/', url = "file://" + folder;
    // The temporary folder cannot name the file that is not UTF-8 to remove it.
    const auto removeBad = qScopeGuard([&folder] { unlink((folder + "bad\xff.jpg").constData()); });

    ScanWatcher watcher;
    EXPECT_TRUE(Drag(m_dialog, m_ui.FocalMaxEdit(),
        url + "a.jpg\r\n" + url + "Roll\r\n" + url + "loose.dat\r\n" + url + "bad%FF.jpg"));
    EXPECT_EQ(watcher.notices, "PPPPPD");
    EXPECT_EQ(m_desktop.openDialogs + m_desktop.folderChoosers, 0);
    EXPECT_EQ(m_ui.FocalMaxEdit()->text(), "0");
    EXPECT_EQ(Entries(m_ui.ApertureMaxCombo()), "F2.8 F4.0 F5.6 F7.1 F8.0 (F8.0)");
    Click(m_ui.QueryButton());
    EXPECT_EQ(Order(), QString::fromUtf8("a.jpg b.JPG d.jpeg loose.dat bad\xEF\xBF\xBD.jpg "));

    QTest::mouseDClick(Results()->viewport(), Qt::LeftButton, {}, RowCentre(4));
    EXPECT_EQ(m_desktop.opened.value(0).toEncoded(), url + "bad%FF.jpg");
    // A photo the desktop has no program for shows why it did not open.
    m_desktop.openSucceeds = false;
    QTest::mouseDClick(Results()->viewport(), Qt::LeftButton, {}, RowCentre(1));
    EXPECT_EQ(m_desktop.calls.value(m_desktop.calls.size() - 1),
        "|Fotolot|Error opening file|No application to open it");
    EXPECT_EQ(m_desktop.opened.value(1).toEncoded(), url + "Roll/b.JPG");
    m_desktop.saveTarget = m_dir.filePath("list.csv");
    Click(Results()->viewport(), RowCentre(4), Qt::RightButton);
    ChooseFromMenu("Export to CSV");
    QFile exported(m_desktop.saveTarget);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_TRUE(exported.readAll().contains("\nbad\xff.jpg\tNikon CAM-1\tF7.1\t"));

    // Cancel, Escape and the close box during the walk: the file being read is finished
    // and counted, nothing further is read, the catalogue is emptied and the selectors stay.
    const std::tuple<std::size_t, const char*, const char*> cancels[]
        = { { 1, "a.jpg", " 1" }, { 2, "Roll/b.JPG", " 2" }, { 3, "Roll/sub/d.jpeg", " 3" } };
    for (const auto& [at, file, total] : cancels) {
        watcher.notices.clear();
        watcher.cancelAt = at;
        Drag(m_dialog, m_ui.Chart(), url + "a.jpg\r\n" + url + "Roll\r\n" + url + "loose.dat");
        EXPECT_EQ(watcher.notices, std::string(at, 'P') + 'C');
        EXPECT_EQ(watcher.shown, m_dir.filePath(file) + total);
        EXPECT_EQ(m_ui.Catalogue().recordCount, 0);
        EXPECT_FALSE(m_ui.Catalogue().head);
        EXPECT_EQ(Entries(m_ui.ApertureMaxCombo()), "F2.8 F4.0 F5.6 F7.1 F8.0 (F8.0)");
    }

    // Open Folder, chosen from the window menu that the program icon opens and with
    // Ctrl+Shift+O, asks the desktop for a folder and reads its tree; a dismissed chooser
    // keeps the photos read before. The same menu opens the About box.
    Click(m_dialog.childAt(27, 24));
    WithModal([] { ChooseFromMenu("&About Fotolot..."); },
        [](QWidget* about) { Click(about->findChild<QPushButton*>()); });
    ASSERT_TRUE(m_dialog.isVisible());

    m_desktop.folderToOpen = m_dir.filePath("Trip");
    Click(m_dialog.childAt(27, 24));
    ChooseFromMenu("Open &Folder...");
    EXPECT_EQ(m_desktop.folderChoosers, 1);
    EXPECT_EQ(m_desktop.openDialogs, 0);
    EXPECT_EQ(Entries(m_ui.ApertureMinCombo()), "F4.0 F5.6 F8.0 (F4.0)");

    for (QWidget* focus :
        std::initializer_list<QWidget*> { m_ui.ExitButton(), m_ui.FocalMinEdit() }) {
        m_desktop.folderToOpen
            = focus == m_ui.ExitButton() ? m_dir.filePath("Trip/day2") : QString();
        Activate(&m_dialog);
        focus->setFocus();
        Press(Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(Entries(m_ui.ApertureMinCombo()), "F5.6 (F5.6)");
    }
    EXPECT_EQ(m_desktop.folderChoosers, 3);
    EXPECT_EQ(m_ui.Catalogue().recordCount, 1);
}

// Export to a FIFO whose reader never reads: the window shows the progress box after a
// moment and takes no drop while it is up; its Cancel ends the save without an error box.
TEST_F(MainWindowTest, ASaveThatWaitsShowsItsBoxAndTakesNoDrop)
{
    OpenPhotos({ WritePhoto("a.jpg", { 28, 10 }) });
    const QString fifo = m_dir.filePath(QStringLiteral("list.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int stalled = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(stalled, 0);
    // More than the pipe holds, so that the save waits for its reader.
    std::vector<ListRow> rows(3000, ListRow(TestPhoto("/p/a.jpg", "Camera", 2.8, 50, 100, 0.004)));
    m_ui.Results().SetRows(rows);
    m_desktop.calls.clear();
    m_desktop.saveTarget = fifo;
    const QByteArray url = "file://" + QFile::encodeName(m_dir.filePath(QStringLiteral("a.jpg")));
    bool dropTaken = true;
    QString shownFile;
    Click(Results()->viewport(), RowCentre(0), Qt::RightButton);
    WithModal([] { ChooseFromMenu("Export to CSV"); },
        [&](QWidget* modal) {
            auto* box = qobject_cast<ProgressBox*>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Saving file..."));
            shownFile = box->m_fileLabel->toolTip();
            dropTaken = Drag(m_dialog, m_ui.Chart(), url + "\r\n");
            Click(box->m_cancelButton);
        });
    ::close(stalled);
    EXPECT_FALSE(dropTaken);
    EXPECT_EQ(shownFile, fifo);
    EXPECT_EQ(m_desktop.calls, QStringList { "|ExifList|CSV files (*.csv)|csv" });
    EXPECT_EQ(m_dialog.ListedRowCount(), 3000);
    struct stat info { };
    EXPECT_TRUE(::stat(QFile::encodeName(fifo).constData(), &info) == 0 && S_ISFIFO(info.st_mode));
}
