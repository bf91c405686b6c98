// SPDX-License-Identifier: MIT
// The two ways in besides Open: files and folders dropped on the window, and Open Folder
// from the window menu or its key. Drags arrive as the window system delivers them, as
// enter, move and drop events to the widget under the pointer; the folder chooser and
// the desktop are answered by a fake.
#include "app/CMainDialog.h"

#include "app/ControlIds.h"
#include "app/DroppedItems.h"
#include "bench/CorpusPhoto.h"
#include "catalogue/dialog/CScanProgressDlg.h"
#include "controls/CTransparentStatic.h"
#include "tests/support/FakeDesktop.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// A photo of the X100 at f/(fNumberTenths / 10) under dir; name and folders are bytes.
void WritePhoto(const QTemporaryDir& dir, const std::string& relative, unsigned fNumberTenths)
{
    CorpusPhoto photo;
    photo.model = "X100";
    photo.fNumber = { fNumberTenths, 10 };
    photo.fileSize = 65536;
    const std::string path = QFile::encodeName(dir.path()).toStdString() + "/" + relative;
    QDir().mkpath(QFileInfo(QFile::decodeName(path.c_str())).path()); // folder names are ASCII
    ASSERT_TRUE(WriteCorpusFile(path, photo)) << relative;
}

QStringList Texts(const QComboBox* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// Shows the window modal, as the program runs it.
void ShowAndActivate(CMainDialog& dialog)
{
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// What a file manager offers for a drag of files: the URLs and the same as plain text.
QMimeData* FileManagerData(const QByteArray& uriList)
{
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/uri-list"), uriList);
    data->setData(QStringLiteral("text/plain"), uriList);
    return data;
}

struct DragOutcome {
    bool accepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

// Drags data over the widget of window at position (window coordinates) as the window
// system does: enter, move, then a drop or a leave.
DragOutcome Drag(
    QWidget& window, QPoint position, const QMimeData& data, Qt::DropActions actions, bool drop)
{
    QWidget* target = window.childAt(position);
    if (!target)
        target = &window;
    const QPoint local = target->mapFrom(&window, position);
    QDragEnterEvent enter(local, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return {};
    QDragMoveEvent move(local, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    if (!drop) {
        QDragLeaveEvent leave;
        QApplication::sendEvent(target, &leave);
        return { move.isAccepted(), move.dropAction() };
    }
    QDropEvent dropped(local, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    return { dropped.isAccepted(), dropped.dropAction() };
}

QPoint CentreOf(const CMainDialog& dialog, int id)
{
    return dialog.GetDlgItem(id)->geometry().center();
}

// The file URL of a name in dir, every byte of the name percent-encoded as a file
// manager writes it.
QByteArray UrlIn(const QTemporaryDir& dir, const QByteArray& encodedName)
{
    return "file://" + QFile::encodeName(dir.path()) + "/" + encodedName;
}

// Watches the scan runs of the test: every notice, the file label at each, and a click on
// Cancel once cancelAfter progress notices were handled.
class ScanWatcher : public QObject {
public:
    ScanWatcher() { qApp->installEventFilter(this); }
    ~ScanWatcher() override { qApp->removeEventFilter(this); }
    std::vector<int> notices;
    QStringList files;
    int cancelAfter = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* scan = qobject_cast<CScanProgressDlg*>(watched);
        if (scan && event->type() == QEvent::Show) {
            connect(scan, &CScanProgressDlg::NoticeHandled, this, [this, scan](int code) {
                notices.push_back(code);
                if (code != ScanProgress)
                    return;
                files << QFile::decodeName(
                    QByteArray::fromStdString(scan->m_catalogue->currentPath));
                if (static_cast<int>(files.size()) == cancelAfter) {
                    auto* cancel = scan->findChild<QPushButton*>();
                    QTest::mouseClick(cancel, Qt::LeftButton);
                }
            });
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

TEST(DroppedItems, UriListGivesLocalPathsAsTheirBytes)
{
    struct Row {
        const char* uriList;
        std::vector<std::string> paths;
    };
    const Row rows[] = {
        { "file:///p/a.jpg\r\nfile:///p/b.jpg\r\n", { "/p/a.jpg", "/p/b.jpg" } },
        { "file:///p/bad%FF.jpg", { "/p/bad\xff.jpg" } },
        { "file:///p/Sommer%202023/%C3%BC%23%3F%25.jpg", { "/p/Sommer 2023/\xc3\xbc#?%.jpg" } },
        { "FILE://localhost/p/Roll/\nfile:/p/short", { "/p/Roll", "/p/short" } },
        { "# a comment\r\nhttp://example.com/a.jpg\r\nfile://camera/p/a.jpg\r\nfile:///p/c.jpg",
            { "/p/c.jpg" } },
        { "file:///p/nul%00.jpg\r\nfile://\r\nfile:relative.jpg\r\n\r\n", {} },
        { "file:///p/a.jpg?query#fragment", { "/p/a.jpg" } },
    };
    for (const Row& row : rows)
        EXPECT_EQ(LocalPathsOfUriList(QByteArray(row.uriList)), row.paths) << row.uriList;
}

// A drag is taken, with the copy action, only when it carries a local file or folder,
// wherever it comes over the window; the focal boxes leave such a drag to the window.
TEST(WindowDrop, TakesOnlyLocalFilesAndFoldersForCopying)
{
    CMainDialog dialog;
    ShowAndActivate(dialog);
    struct Row {
        const char* uriList; // nullptr: plain text only
        Qt::DropActions actions;
        bool taken;
    };
    const Row rows[] = {
        { "file:///p/a.jpg\r\n", Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, true },
        { "http://example.com/a.jpg\r\nfile:///p/Roll\r\n", Qt::CopyAction, true },
        { "file:///p/a.jpg\r\n", Qt::MoveAction, false },
        { "http://example.com/a.jpg\r\n", Qt::CopyAction, false },
        { "file://camera/p/a.jpg\r\n", Qt::CopyAction, false },
        { nullptr, Qt::CopyAction, false },
    };
    for (const Row& row : rows) {
        QMimeData data;
        if (row.uriList)
            data.setData(QStringLiteral("text/uri-list"), row.uriList);
        else
            data.setText(QStringLiteral("/p/a.jpg"));
        for (const int id : { IdResultsList, IdChart, IdApertureMin, IdFocalMinEdit }) {
            if (id == IdFocalMinEdit && !row.uriList)
                continue; // plain text is the edit's own to take
            const DragOutcome outcome
                = Drag(dialog, CentreOf(dialog, id), data, row.actions, /*drop=*/false);
            EXPECT_EQ(outcome.accepted, row.taken) << (row.uriList ? row.uriList : "text") << id;
            if (row.taken) {
                EXPECT_EQ(outcome.action, Qt::CopyAction) << id;
            }
        }
    }
}

// Files and folders dropped together are read in their order, a dropped file whatever
// its name, a folder walked, and the run ends with the selectors filled; dropped on a
// focal box, the drop leaves its text alone. Cancel during a walk finishes the file
// being read, walks no further and empties the catalogue; the selectors stay.
TEST(WindowDrop, ReadsFilesAndWalksFoldersAndCancelStopsTheWalk)
{
    FakeDesktop desktop;
    QTemporaryDir dir;
    WritePhoto(dir, "a.jpg", 28);
    WritePhoto(dir, "loose.dat", 80);
    WritePhoto(dir, "Roll/b.JPG", 40);
    WritePhoto(dir, "Roll/sub/d.jpeg", 56);
    WritePhoto(dir, "Roll/.thumbs/c.jpg", 110);
    WritePhoto(dir, "Roll/notes.txt", 160);
    CMainDialog dialog;
    ShowAndActivate(dialog);

    ScanWatcher watcher;
    std::unique_ptr<QMimeData> data(FileManagerData(UrlIn(dir, "a.jpg") + "\r\n"
        + UrlIn(dir, "Roll") + "\r\n" + UrlIn(dir, "loose.dat") + "\r\n"));
    const DragOutcome outcome
        = Drag(dialog, CentreOf(dialog, IdFocalMaxEdit), *data, Qt::CopyAction, /*drop=*/true);
    EXPECT_TRUE(outcome.accepted);
    EXPECT_EQ(outcome.action, Qt::CopyAction);
    QCoreApplication::processEvents(); // the run starts once the drop has returned
    EXPECT_EQ(watcher.notices,
        (std::vector<int> { ScanProgress, ScanProgress, ScanProgress, ScanProgress, ScanDone }));
    EXPECT_EQ(watcher.files,
        QStringList({ dir.filePath("a.jpg"), dir.filePath("Roll/b.JPG"),
            dir.filePath("Roll/sub/d.jpeg"), dir.filePath("loose.dat") }));
    const QStringList apertures { "F2.8", "F4.0", "F5.6", "F8.0" };
    EXPECT_EQ(Texts(dialog.m_apertureMinCombo), apertures);
    EXPECT_EQ(dialog.m_apertureMaxCombo->currentIndex(), 3);
    EXPECT_TRUE(dialog.GetDlgItem(IdQuery)->isEnabled());
    EXPECT_EQ(desktop.openDialogs + desktop.folderChoosers, 0); // no dialog
    EXPECT_EQ(static_cast<QLineEdit*>(dialog.GetDlgItem(IdFocalMaxEdit))->text(), "0");

    watcher.notices.clear();
    watcher.files.clear();
    watcher.cancelAfter = 1;
    std::unique_ptr<QMimeData> roll(FileManagerData(UrlIn(dir, "Roll")));
    Drag(dialog, CentreOf(dialog, IdChart), *roll, Qt::CopyAction, /*drop=*/true);
    QCoreApplication::processEvents();
    EXPECT_EQ(watcher.notices, (std::vector<int> { ScanProgress, ScanClose }));
    EXPECT_EQ(watcher.files, QStringList { dir.filePath("Roll/b.JPG") });
    EXPECT_EQ(dialog.m_catalogue.recordCount, 0);
    EXPECT_FALSE(dialog.m_catalogue.head);
    EXPECT_EQ(Texts(dialog.m_apertureMinCombo), apertures);
}

// Open Folder, chosen from the window menu that the program icon opens and with
// Ctrl+Shift+O, asks the desktop for a folder and reads its tree; a dismissed chooser
// ends the run like a dismissed open dialog.
TEST(WindowOpenFolder, FromTheWindowMenuAndItsKey)
{
    FakeDesktop desktop;
    QTemporaryDir dir;
    WritePhoto(dir, "Trip/day1/IMG_0001.JPG", 40);
    WritePhoto(dir, "Trip/day2/IMG_0002.JPG", 56);
    WritePhoto(dir, "Trip/IMG_0003.tif", 80);
    WritePhoto(dir, "Trip/IMG_0003.xmp", 110);
    CMainDialog dialog;
    ShowAndActivate(dialog);

    QLabel* icon = nullptr;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->pixmap().isNull())
            icon = label;
    }
    ASSERT_NE(icon, nullptr);
    desktop.folderToOpen = dir.filePath("Trip");
    QTest::mouseClick(icon, Qt::LeftButton);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction* openFolder = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text() == QStringLiteral("Open &Folder..."))
            openFolder = action;
    }
    ASSERT_NE(openFolder, nullptr);
    EXPECT_EQ(openFolder->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+O")));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(openFolder).center());
    EXPECT_EQ(desktop.folderChoosers, 1);
    EXPECT_EQ(desktop.openDialogs, 0);
    EXPECT_EQ(dialog.m_catalogue.recordCount, 3);
    EXPECT_EQ(Texts(dialog.m_apertureMaxCombo), QStringList({ "F4.0", "F5.6", "F8.0" }));

    desktop.folderToOpen = dir.filePath("Trip/day2");
    ShowAndActivate(dialog);
    QTest::keyClick(&dialog, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(desktop.folderChoosers, 2);
    EXPECT_EQ(Texts(dialog.m_apertureMaxCombo), QStringList({ "F5.6" }));

    desktop.folderToOpen.clear();
    ShowAndActivate(dialog);
    QTest::keyClick(
        dialog.GetDlgItem(IdFocalMinEdit), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(desktop.folderChoosers, 3);
    EXPECT_EQ(dialog.m_catalogue.recordCount, 0);
    EXPECT_EQ(Texts(dialog.m_apertureMaxCombo), QStringList({ "F5.6" }));
}

// A name that is not UTF-8 is read, listed with a replacement character, opened and
// exported with its exact bytes.
TEST(WindowPaths, NameThatIsNotUtf8KeepsItsBytes)
{
    FakeDesktop desktop;
    QTemporaryDir dir;
    WritePhoto(dir, "bad\xff.jpg", 28);
    struct RemoveByBytes { // the temporary folder cannot name the file to remove it
        QByteArray path;
        ~RemoveByBytes() { unlink(path.constData()); }
    } remove { QFile::encodeName(dir.path()) + "/bad\xff.jpg" };
    CMainDialog dialog;
    ShowAndActivate(dialog);
    std::unique_ptr<QMimeData> data(FileManagerData(UrlIn(dir, "bad%FF.jpg")));
    Drag(dialog, CentreOf(dialog, IdResultsList), *data, Qt::CopyAction, /*drop=*/true);
    QCoreApplication::processEvents();
    ASSERT_EQ(dialog.m_catalogue.recordCount, 1);

    QTest::mouseClick(dialog.GetDlgItem(IdQuery), Qt::LeftButton);
    QTableView* list = dialog.m_resultsList;
    ASSERT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(
        list->model()->index(0, 0).data().toString(), QString::fromUtf8("bad\xEF\xBF\xBD.jpg"));

    const QPoint row = list->visualRect(list->model()->index(0, 0)).center();
    // A double click: the first press and release, then the second press as a double click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_EQ(desktop.opened.at(0).toEncoded(), UrlIn(dir, "bad%FF.jpg"));

    desktop.saveTarget = dir.filePath("list.csv");
    // A right click: the press, then the context-menu request the window system sends.
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, row);
    QContextMenuEvent request(QContextMenuEvent::Mouse, row, list->viewport()->mapToGlobal(row));
    QApplication::sendEvent(list->viewport(), &request);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction* exportCsv = menu->actions().value(1);
    ASSERT_EQ(exportCsv->text(), QStringLiteral("Export to CSV"));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(exportCsv).center());
    QFile exported(desktop.saveTarget);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    EXPECT_EQ(exported.readAll(),
        QByteArray("Filename\tCamera\tAperture\tFocal Length\tISO\tShutter Speed\n"
                   "bad\xff.jpg\tX100\tF2.8\t0.0\tn/a\tn/a\t\n"));
}
