// SPDX-License-Identifier: MIT
// The main window as it opens: its texts, layout and colours, the keyboard, the About box,
// closing, and the drop-down lists in every style.
#include "tests/app/MainWindowDriver.h"

#include "controls/CTransparentStatic.h"

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

// Top and bottom row of a window's gradient background.
static std::pair<QRgb, QRgb> TopAndBottom(QWidget* window)
{
    const QImage picture = window->grab().toImage();
    return { picture.pixel(3, 0), picture.pixel(3, picture.height() - 1) };
}

TEST_F(MainWindowTest, TextsLayoutAndStateRightAfterStart)
{
    EXPECT_EQ(Captions(&m_dialog), kCaptions[0]);
    EXPECT_EQ(m_dialog.size(), QSize(593, 423)); // 395 x 282 dialog units at 6 x 12 pixels
    EXPECT_EQ(m_dialog.minimumSize(), m_dialog.maximumSize());
    // Controls in pixels (x, y, width, height); a drop-down list's field is as high as the
    // style makes it.
    const CMainDialog::Driver& ui = m_ui;
    const std::pair<QWidget*, QRect> places[] = { { ui.ExitButton(), { 506, 11, 75, 21 } },
        { ui.ResultsList(), { 11, 330, 572, 87 } }, { ui.Chart(), { 11, 125, 572, 198 } },
        { ui.ApertureMinCombo(), { 57, 66, 60, 22 } }, { ui.IsoMinCombo(), { 222, 66, 60, 22 } },
        { ui.ShutterMinCombo(), { 299, 66, 60, 22 } }, { ui.ApertureHeading(), { 57, 51, 42, 12 } },
        { ui.IsoHeading(), { 224, 51, 20, 12 } }, { ui.ShutterHeading(), { 299, 51, 68, 12 } },
        { ui.FocalHeading(), { 132, 51, 60, 12 } }, { ui.MinHeading(), { 23, 71, 18, 12 } },
        { ui.FocalMinEdit(), { 132, 66, 43, 18 } }, { ui.FocalMinSpin(), { 175, 66, 17, 18 } },
        { ui.ApertureMaxCombo(), { 57, 93, 60, 22 } }, { ui.IsoMaxCombo(), { 222, 93, 60, 22 } },
        { ui.ShutterMaxCombo(), { 299, 93, 60, 22 } }, { ui.MaxHeading(), { 21, 96, 21, 12 } },
        { ui.FocalMaxEdit(), { 132, 93, 43, 18 } }, { ui.FocalMaxSpin(), { 175, 93, 17, 18 } },
        { ui.QueryButton(), { 495, 68, 75, 21 } }, { ui.OpenButton(), { 266, 11, 75, 21 } },
        { ui.ShowCombo(), { 456, 93, 117, 22 } }, { ui.ShowHeading(), { 411, 96, 29, 12 } },
        { ui.MatchesLabel(), { 464, 51, 107, 12 } }, { ui.MatchesHeading(), { 411, 51, 45, 12 } },
        { ui.LinkLabel(), { 54, 12, 207, 21 } }, { ui.ScreenshotButton(), { 386, 11, 75, 21 } } };
    for (const auto& [control, place] : places)
        EXPECT_EQ(control->geometry(), place) << place.x() << ", " << place.y();
    EXPECT_EQ(m_dialog.childAt(12, 9), m_dialog.childAt(42, 35)); // the 32 x 32 icon at 11, 8
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
    for (const auto& [column, width] :
        { std::pair { 0, 95 }, { 1, 170 }, { 2, 60 }, { 3, 80 }, { 4, 50 }, { 5, 85 } })
        EXPECT_EQ(Results()->horizontalHeader()->sectionSize(column), width);

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

    // The link in blue 12-point Arial of normal weight, the match count in bold; the
    // background white at the top and one step short of RGB(239, 239, 255) at the bottom.
    const QFont link = m_ui.LinkLabel()->font();
    EXPECT_EQ(std::make_tuple(link.family(), link.pixelSize(), link.bold()),
        std::make_tuple(QString("Arial"), 16, false));
    EXPECT_TRUE(m_ui.MatchesLabel()->font().bold());
    const QImage picture = Picture();
    // The 32-pixel icon at the top left: its glint and its frame's edge.
    EXPECT_EQ(
        std::make_pair(picture.pixel(27, 17), picture.pixel(12, 18)), std::make_pair(white, black));
    EXPECT_GT(Count(picture.copy(54, 12, 150, 18), qRgb(0, 0, 255)), 0);
    EXPECT_GT(Count(picture.copy(57, 51, 42, 12), qRgb(0, 0, 0)), 0); // "Aperture" in black
    EXPECT_EQ(TopAndBottom(&m_dialog), std::make_pair(qRgb(255, 255, 255), qRgb(240, 240, 255)));
    // The chart without bins: inside the frame (37, 5) - (554, 181) the gradient from
    // RGB(208, 208, 192) down towards RGB(240, 240, 223), an unpainted last column and row,
    // and the window's own background around the frame.
    const QImage chart = picture.copy(11, 125, 572, 198);
    const std::pair<QPoint, QRgb> pixels[]
        = { { { 37, 5 }, qRgb(0, 0, 0) }, { { 554, 181 }, qRgb(0, 0, 0) },
              { { 38, 6 }, qRgb(208, 208, 192) }, { { 552, 6 }, qRgb(208, 208, 192) },
              { { 300, 93 }, qRgb(224, 224, 207) }, { { 38, 179 }, qRgb(239, 239, 222) } };
    for (const auto& [at, colour] : pixels)
        EXPECT_EQ(chart.pixel(at), colour) << at.x() << ", " << at.y();
    for (const QPoint at : { QPoint(36, 5), QPoint(553, 100), QPoint(300, 180), QPoint(300, 182) })
        EXPECT_EQ(chart.pixel(at), picture.pixel(5, 125 + at.y())) << at.x() << ", " << at.y();
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
            for (auto* label : about->findChildren<CTransparentStatic*>())
                EXPECT_TRUE(label->font().bold()) << label->text().toStdString();
            EXPECT_EQ(
                TopAndBottom(about), std::make_pair(qRgb(240, 240, 255), qRgb(209, 209, 224)));
            Click(about->findChild<QPushButton*>());
        });
    m_desktop.whileChoosingFiles = [](QWidget* scan) {
        EXPECT_EQ(Captions(scan), kCaptions[2]);
        EXPECT_EQ(TopAndBottom(scan), std::make_pair(qRgb(240, 240, 255), qRgb(209, 209, 224)));
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
