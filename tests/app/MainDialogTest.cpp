// SPDX-License-Identifier: MIT
// The main window as it opens: its texts, layout and colours, the keyboard, the About box,
// closing, and the drop-down lists in every style.
#include "tests/app/MainWindowDriver.h"

#include <QPushButton>
#include <QScrollBar>

// Every caption of the main window, the About box and the progress window, sorted.
const QStringList kCaptions[] = {
    { "&About Fotolot...", "Aperture", "Aperture", "Aperture", "Camera", "E&xpanded Window", "Exit",
        "Export to CSV", "File", "File size (MB)", "Focal length", "Focal length", "Focal length",
        "Fotolot 0.92 beta", "ISO", "ISO", "ISO", "Matches:", "Max", "Min", "Open", "Open",
        "Open &Folder...", "Query", "Screenshot", "Show", "Shutter speed", "Shutter speed",
        "Shutter speed", "https://fotolot.example.org" },
    { "About Fotolot", "Fotolot Version 0.92 beta", "Free software under the MIT License", "OK" },
    { "Cancel", "File:", "Scanning files...", "Total:" },
};

TEST_F(MainWindowTest, TextsLayoutAndStateRightAfterStart)
{
    EXPECT_EQ(Captions(&m_dialog), kCaptions[0]);
    EXPECT_EQ(m_dialog.size(), QSize(593, 423)); // 395 x 282 dialog units at 6 x 12 pixels
    EXPECT_EQ(m_dialog.minimumSize(), m_dialog.maximumSize());
    // The window hands the desktop its icon in every size, each its own picture, not a
    // scaled neighbour: each row names one pixel (size, x, y) that only the right picture
    // has in that colour, such as the glint on the lens or the frame's edge.
    const QIcon icon = m_dialog.windowIcon();
    EXPECT_EQ(icon.availableSizes(),
        (QList<QSize> {
            { 16, 16 }, { 32, 32 }, { 48, 48 }, { 64, 64 }, { 128, 128 }, { 256, 256 } }));
    const QRgb white = 0xffffffff, black = 0xff000000;
    const std::tuple<int, int, int, QRgb> iconPixels[] = { { 16, 10, 5, white },
        { 16, 0, 7, black }, { 32, 16, 9, white }, { 32, 1, 10, black }, { 48, 4, 24, black },
        { 64, 6, 32, black }, { 128, 12, 64, black }, { 256, 24, 128, black } };
    for (const auto& [size, x, y, colour] : iconPixels) {
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(image.pixel(0, 0), 0u) << size << ": a transparent corner";
        EXPECT_EQ(image.pixel(x, y), colour) << size << " at " << x << ", " << y;
    }

    EXPECT_FALSE(m_ui.QueryButton()->isEnabled());
    EXPECT_TRUE(m_ui.ScreenshotButton()->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), m_ui.ExitButton());
    for (const QComboBox* list :
        { m_ui.ApertureMinCombo(), m_ui.ApertureMaxCombo(), m_ui.IsoMinCombo(), m_ui.IsoMaxCombo(),
            m_ui.ShutterMinCombo(), m_ui.ShutterMaxCombo() })
        EXPECT_EQ(list->currentIndex(), -1) << list->x() << ", " << list->y();
    EXPECT_EQ(m_ui.ShowCombo()->currentText() + m_ui.FocalMinEdit()->text()
            + m_ui.FocalMaxEdit()->text() + m_ui.MatchesLabel()->text(),
        "Aperture"); // the match count never shows its placeholder "Static"
    EXPECT_EQ(Results()->model()->rowCount(), 0);

    const QImage picture = Picture();
    ExpectGolden(picture, "start");
    // The match count is drawn over the gradient: where it has no text the gradient shows,
    // and a shorter count leaves nothing of a longer one.
    auto* matches = m_ui.MatchesLabel();
    const QRect past(464, 51, 107 - matches->fontMetrics().horizontalAdvance("1/2") - 2, 12);
    EXPECT_EQ(picture.pixel(470, 57), picture.pixel(590, 57));
    matches->setText("8888/8888");
    EXPECT_NE(Picture().copy(past), picture.copy(past));
    matches->setText("1/2");
    EXPECT_EQ(Picture().copy(past), picture.copy(past));
    matches->clear();

    // F1 opens the About box; the progress window shows while the files are chosen.
    WithModal([] { Press(Qt::Key_F1); },
        [](QWidget* about) {
            EXPECT_EQ(Captions(about), kCaptions[1]);
            ExpectGolden(about->grab().toImage(), "about");
            Click(about->findChild<QPushButton*>());
        });
    m_desktop.whileChoosingFiles = [](QWidget* scan) {
        EXPECT_EQ(Captions(scan), kCaptions[2]);
        ExpectGolden(scan->grab().toImage(), "scan");
    };
    OpenPhotos({});
    EXPECT_EQ(m_desktop.openDialogs, 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// Tab visits the controls in template order; Enter does what the focused control
// suggests and closes the window only as a click on Exit.
TEST_F(MainWindowTest, TabAndEnterInEveryControl)
{
    m_ui.FocalMinEdit()->setFocus();
    Press(Qt::Key_Return); // nothing to query yet
    EXPECT_TRUE(m_dialog.isVisible());

    const QString catalogueOrder = "c.jpg a.jpg Old.tif b.jpg ";
    OpenPhotos(FourPhotos());
    Click(m_ui.QueryButton());
    ASSERT_EQ(Order(), catalogueOrder);

    m_ui.ExitButton()->setFocus();
    const QWidget* const tabOrder[] = { m_ui.ResultsList(), m_ui.ApertureMinCombo(),
        m_ui.IsoMinCombo(), m_ui.ShutterMinCombo(), m_ui.FocalMinEdit(), m_ui.ApertureMaxCombo(),
        m_ui.IsoMaxCombo(), m_ui.ShutterMaxCombo(), m_ui.FocalMaxEdit(), m_ui.QueryButton(),
        m_ui.OpenButton(), m_ui.ShowCombo(), m_ui.ScreenshotButton(), m_ui.ExitButton() };
    for (const QWidget* const& next : tabOrder) {
        Press(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << &next - tabOrder;
    }

    // A bound list, a focal box or Query runs the query: the rows are listed anew in
    // catalogue order, whatever the sort.
    QWidget* const bounds[] = { m_ui.ApertureMinCombo(), m_ui.ApertureMaxCombo(),
        m_ui.IsoMinCombo(), m_ui.IsoMaxCombo(), m_ui.ShutterMinCombo(), m_ui.ShutterMaxCombo(),
        m_ui.FocalMinEdit(), m_ui.FocalMaxEdit(), m_ui.QueryButton() };
    for (QWidget* const& bound : bounds) {
        ClickHeading(IsoColumn);
        ASSERT_NE(Order(), catalogueOrder);
        bound->setFocus();
        Press(bound == m_ui.FocalMaxEdit() ? Qt::Key_Enter : Qt::Key_Return);
        EXPECT_EQ(Order(), catalogueOrder) << &bound - bounds;
    }
    // The list opens its selected photo, the same one after a sort, and nothing without a
    // selection; Show redraws the chart only. Neither lists the rows anew.
    Results()->setFocus();
    Press(Qt::Key_Return);
    EXPECT_TRUE(m_desktop.opened.isEmpty());
    Click(Results()->viewport(), RowCentre(2));
    ClickHeading(IsoColumn);
    const QString sorted = Order();
    Press(Qt::Key_Return);
    m_ui.ShowCombo()->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(m_desktop.opened, QList<QUrl> { QUrl::fromLocalFile(m_dir.filePath("Old.tif")) });
    EXPECT_EQ(Order(), sorted);

    // On a push button Enter clicks it; the open and save dialogs are dismissed.
    m_desktop.filesToOpen.clear();
    m_ui.OpenButton()->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(m_desktop.openDialogs, 2);
    Activate(&m_dialog);
    m_ui.ScreenshotButton()->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(m_desktop.calls.size(), 1);
    EXPECT_TRUE(m_dialog.isVisible());
    // Enter on Exit ends the program; so do Escape and the close box (0).
    for (const int key : { int(Qt::Key_Return), int(Qt::Key_Escape), 0 }) {
        Activate(&m_dialog);
        m_dialog.setResult(QDialog::Accepted);
        m_ui.ExitButton()->setFocus();
        key ? Press(key) : void(m_dialog.close());
        EXPECT_TRUE(m_dialog.result() == QDialog::Rejected && !m_dialog.isVisible()) << key;
    }
}

// A list opens right below its field as a scrolling list of whole rows, field and list no
// taller than 175 dialog units (263 pixels) for the bounds and 160 (240) for Show.
TEST_F(MainWindowTest, DropDownListsOpenBelowTheirFieldAndKeepToTheirHeight)
{
    QStringList photos;
    for (unsigned i = 0; i < 200; ++i)
        photos << WritePhoto("p" + QByteArray::number(i) + ".jpg", { 10 + i, 10 }, { 1, 1000 + i },
            { 50, 1 }, static_cast<std::uint16_t>(100 + i));
    for (const char* style : { "Fusion", "Windows" }) {
        QApplication::setStyle(style);
        CMainDialog dialog;
        const CMainDialog::Driver ui(dialog);
        Activate(&dialog);
        m_desktop.filesToOpen = photos;
        Click(ui.OpenButton());
        QComboBox* const lists[] = { ui.ApertureMinCombo(), ui.IsoMinCombo(), ui.ShutterMinCombo(),
            ui.ApertureMaxCombo(), ui.IsoMaxCombo(), ui.ShutterMaxCombo(), ui.ShowCombo() };
        for (QComboBox* const& list : lists) {
            const auto id = &list - lists;
            const bool show = list == ui.ShowCombo(); // all five entries without scrolling
            ASSERT_EQ(list->count(), show ? 5 : 200);
            Click(list);
            QWidget* open = QApplication::activePopupWidget();
            ASSERT_TRUE(open && open->isAncestorOf(list->view())) << style << id;
            const QRect field(list->mapToGlobal(QPoint(0, 0)), list->size());
            const int height = open->geometry().bottom() + 1 - field.top();
            EXPECT_GE(open->geometry().top(), field.bottom()) << style << id; // below the field
            EXPECT_TRUE(show ? height <= 240 : height > 263 - 13 && height <= 263)
                << style << id << " " << height;
            EXPECT_EQ(list->view()->verticalScrollBar()->isVisible(), !show) << style << id;
            QTest::keyClick(list->view(), Qt::Key_Escape);
            ASSERT_EQ(QApplication::activePopupWidget(), nullptr);
        }
    }
    QApplication::setStyle("Fusion");
}
