// SPDX-License-Identifier: MIT
// The main window driven as a user drives it. Mouse events enter through the window
// system's path (QTEST_QPA_MOUSE_HANDLING), so a right click raises the context menu and
// an open popup takes the clicks meant for it; keys go to the control with the focus; a
// modal window is answered from inside its own event loop. The photos are real files and
// the desktop's dialogs are answered by a fake.
#pragma once

#include "app/CMainDialog.h"
#include "app/MainDialogDriver.h"
#include "chart/CChartStatic.h"
#include "controls/CTransparentStatic.h"
#include "controls/UpDownControl.h"
#include "query/ResultColumns.h"
#include "tests/support/CorpusPhoto.h"
#include "tests/support/FakeDesktop.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void Click(QWidget* widget, QPoint at = {}, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(widget, button, {}, at);
}

// The pixels of image, of a 32-bit format, in colour.
inline auto Count(const QImage& image, QRgb colour)
{
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    return std::count(pixels, pixels + image.width() * image.height(), colour);
}

// Makes window the active one, as the window manager does when it shows or when a modal
// window over it closes.
inline void Activate(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

// A key pressed and released in the control that has the focus.
inline void Press(int key, Qt::KeyboardModifiers modifiers = {})
{
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus) << "no control has the focus";
    QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
}

// Runs action, which must open a modal window, and answer on that window from inside its
// event loop.
inline void WithModal(
    const std::function<void()>& action, const std::function<void(QWidget*)>& answer)
{
    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && !answered)
            answered = true, answer(modal);
    });
    poll.start(0);
    action();
    EXPECT_TRUE(answered) << "no modal window opened";
}

// Clicks the item of the popup menu now open that reads text.
inline void ChooseFromMenu(const QString& text)
{
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu) << "no menu open for " << text.toStdString();
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return Click(menu, menu->actionGeometry(action).center());
    }
    FAIL() << "no menu item " << text.toStdString();
}

// The texts a user reads in window, sorted: its title, the captions of its labels,
// buttons and menu items, the entries of its lists and the headings of its tables; empty
// ones are left out.
inline QStringList Captions(const QWidget* window)
{
    QStringList texts { window->windowTitle() };
    for (const QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        texts << w->property("text").toString(); // a label's or a button's
        for (const QAction* action : w->actions()) // a menu's items
            texts << action->text();
        if (auto* list = qobject_cast<const QComboBox*>(w))
            for (int i = 0; i < list->count(); ++i)
                texts << list->itemText(i);
        if (auto* table = qobject_cast<const QTableView*>(w))
            for (int c = 0; c < table->model()->columnCount(); ++c)
                texts << table->model()->headerData(c, Qt::Horizontal).toString();
    }
    texts.removeAll(QString());
    texts.sort();
    return texts;
}

// The picture matches the golden capture tests/app/golden/NAME.png pixel for pixel: the
// layout, fonts, colours, gradients and chart of the template in one comparison. With
// FOTOLOT_UPDATE_GOLDEN set in the environment the capture is written instead (look at it
// before committing it).
inline void ExpectGolden(const QImage& picture, const char* name)
{
    const QString path = QStringLiteral(FOTOLOT_GOLDEN_DIR "/%1.png").arg(name);
    const QImage actual = picture.convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIsSet("FOTOLOT_UPDATE_GOLDEN")) {
        EXPECT_TRUE(actual.save(path, "png")) << path.toStdString();
        return;
    }
    const QImage golden = QImage(path, "png").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(actual.size(), golden.size()) << name;
    int differing = 0;
    for (int y = 0; y < golden.height(); ++y)
        for (int x = 0; x < golden.width(); ++x)
            differing += actual.pixel(x, y) != golden.pixel(x, y);
    if (differing > 0)
        actual.save(QStringLiteral("%1-actual.png").arg(name), "png");
    EXPECT_EQ(differing, 0) << name << ": the differing picture is in the test's folder";
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { Activate(&m_dialog); }

    QTableView* Results() const { return m_ui.ResultsList(); }

    // A 3 MB photo of the NIKON CAM-1 with the given f-number, exposure time (s), focal
    // length (mm) and ISO (0: none); the name is bytes and may hold folders.
    QString WritePhoto(const QByteArray& name, CorpusRational fNumber, CorpusRational time = {},
        CorpusRational focal = {}, std::uint16_t iso = 0) const
    {
        const QByteArray path = QFile::encodeName(m_dir.path()) + '/' + name;
        QDir().mkpath(QFileInfo(QFile::decodeName(path)).path()); // folder names are ASCII
        CorpusPhoto photo;
        std::tie(photo.make, photo.model, photo.fNumber, photo.exposureTime, photo.focalLength,
            photo.iso, photo.fileSize)
            = std::make_tuple(
                "NIKON CORPORATION", "NIKON CAM-1", fNumber, time, focal, iso, 3 << 20);
        EXPECT_TRUE(WriteCorpusFile(path.toStdString(), photo)) << name.constData();
        return QFile::decodeName(path);
    }

    // c.jpg F2.8 1/250 s 17.5 mm ISO 100; a.jpg F4.0 1/2 s 54.4 mm ISO 400; Old.tif (below);
    // b.jpg F2.8 2 s 50 mm without ISO.
    QStringList FourPhotos() const
    {
        return { WritePhoto("c.jpg", { 28, 10 }, { 1, 250 }, { 175, 10 }, 100),
            WritePhoto("a.jpg", { 40, 10 }, { 1, 2 }, { 544, 10 }, 400),
            WriteOldCameraTiff("Old.tif"), WritePhoto("b.jpg", { 28, 10 }, { 2, 1 }, { 500, 10 }) };
    }

    // A 40,000-byte little-endian TIFF file from an old camera: its Model text is Latin-1
    // ("Caf\xE9 CAM-9"), ISO 200 and 35 mm lie within the first 32,768 bytes. Past them lie
    // what a reader of more bytes would take: the NUL of the Make text "ACME" at 32766, the
    // second half of the f-number 56/10 at 32764 and the whole exposure time 1/100 at 32800.
    QString WriteOldCameraTiff(const QString& name) const
    {
        // The header with IFD0 at 8: Make, Model (at 160), the EXIF directory (at 50) with
        // ISO, FNumber, ExposureTime and FocalLength (at 200).
        QByteArray bytes = QByteArray::fromHex(
            "49492A00 08000000 0300 0F010200 05000000 FE7F0000 10010200 0B000000 A0000000"
            " 69870400 01000000 32000000 00000000 0400 27880300 01000000 C8000000 9D820500"
            " 01000000 FC7F0000 9A820500 01000000 20800000 0A920500 01000000 C8000000");
        bytes.append(40000 - bytes.size(), '\0');
        for (const auto& [at, hex] :
            { std::pair { 160, "436166E92043414D2D39" }, { 200, "2300000001000000" },
                { 32764, "380041434D450000" }, { 32800, "0100000064000000" } })
            bytes.replace(at, static_cast<qsizetype>(strlen(hex) / 2), QByteArray::fromHex(hex));
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }

    void OpenPhotos(const QStringList& paths)
    {
        m_desktop.filesToOpen = paths;
        Click(m_ui.OpenButton());
        Activate(&m_dialog);
    }

    void ClickHeading(int column)
    {
        QHeaderView* header = Results()->horizontalHeader();
        Click(header->viewport(),
            QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                header->height() / 2));
    }

    static QToolButton* Arrow(const QWidget* spin, Qt::ArrowType type)
    {
        for (auto* button : spin->findChildren<QToolButton*>())
            if (button->arrowType() == type)
                return button;
        return nullptr;
    }

    QPoint RowCentre(int row) const
    {
        return Results()->visualRect(Results()->model()->index(row, 1)).center();
    }

    // A column of model from the top, each entry followed by a space.
    static QString Column(const QAbstractItemModel* model, int column = 0)
    {
        QString text;
        for (int row = 0; row < model->rowCount(); ++row)
            text += model->index(row, column).data().toString() + ' ';
        return text;
    }
    QString Order() const { return Column(Results()->model()); } // the File column
    // A list's entries, each followed by a space, and then its selected entry.
    static QString Entries(const QComboBox* list)
    {
        return Column(list->model()) + '(' + list->currentText() + ')';
    }

    // What the window shows: its pixels read back once pending repaints are done, so that
    // a control that failed to repaint shows its old picture.
    QImage Picture()
    {
        QCoreApplication::processEvents();
        return m_dialog.screen()
            ->grabWindow(m_dialog.winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    FakeDesktop m_desktop;
    QTemporaryDir m_dir;
    CMainDialog m_dialog;
    const CMainDialog::Driver m_ui { m_dialog };
};
