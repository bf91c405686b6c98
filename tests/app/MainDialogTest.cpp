// SPDX-License-Identifier: MIT
#include "app/CMainDialog.h"

#include "app/ControlIds.h"
#include "capture/ImageExport.h"
#include "controls/CTransparentStatic.h"
#include "query/ListSort.h"
#include "tests/support/FakeDesktop.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace {
QPushButton* Button(const CMainDialog& dialog, int id)
{
    return qobject_cast<QPushButton*>(dialog.GetDlgItem(id));
}

void ShowAndActivate(CMainDialog& dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// Runs action, which may open a modal window; the first modal window that opens is
// closed at once. Returns its title, or an empty string when none opened.
QString ModalTitleDuring(const std::function<void()>& action)
{
    QString title;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            title = modal->windowTitle();
            modal->close();
        }
    });
    closer.start();
    action();
    QCoreApplication::processEvents();
    return title;
}
} // namespace

// A fixed window laid out in dialog units, in tab order, and its state right after start.
TEST(MainDialog, LayoutTabOrderAndStateRightAfterStart)
{
    std::fill(std::begin(g_sortDirection), std::end(g_sortDirection), -1);
    CMainDialog dialog;
    EXPECT_EQ(dialog.size(), QSize(593, 423)); // 395 x 282 dialog units at 6 x 12
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.GetDlgItem(IdCancel)->geometry(), QRect(506, 11, 75, 21)); // 337, 7, 50, 14
    EXPECT_EQ(dialog.GetDlgItem(IdResultsList)->geometry(), QRect(11, 330, 572, 87));

    const int tabOrder[] = { IdCancel, IdResultsList, IdApertureMin, IdIsoMin, IdShutterMin,
        IdFocalMinEdit, IdApertureMax, IdIsoMax, IdShutterMax, IdFocalMaxEdit, IdQuery, IdOpen,
        IdShow, IdScreenshot, IdCancel };
    QWidget* widget = dialog.GetDlgItem(IdCancel);
    for (int id : tabOrder) {
        EXPECT_EQ(widget, dialog.GetDlgItem(id)) << "expected " << id;
        do
            widget = widget->nextInFocusChain();
        while ((widget->focusPolicy() & Qt::TabFocus) != Qt::TabFocus);
    }

    EXPECT_FALSE(dialog.GetDlgItem(IdQuery)->isEnabled());
    EXPECT_TRUE(dialog.GetDlgItem(IdOpen)->isEnabled());
    EXPECT_EQ(dialog.GetDlgItem(IdScreenshot)->isEnabled(), IsImageEncoderAvailable());
    QStringList show;
    for (int i = 0; i < dialog.m_showCombo->count(); ++i)
        show << dialog.m_showCombo->itemText(i);
    EXPECT_EQ(show,
        QStringList({ "Aperture", "Focal length", "ISO", "Shutter speed", "File size (MB)" }));
    EXPECT_EQ(dialog.m_showCombo->currentIndex(), 0);
    for (QComboBox* bound :
        { dialog.m_apertureMinCombo, dialog.m_apertureMaxCombo, dialog.m_isoMinCombo,
            dialog.m_isoMaxCombo, dialog.m_shutterMinCombo, dialog.m_shutterMaxCombo })
        EXPECT_EQ(bound->currentIndex(), -1);
    EXPECT_TRUE(qobject_cast<QLineEdit*>(dialog.GetDlgItem(IdFocalMinEdit))->text().isEmpty());
    EXPECT_TRUE(qobject_cast<QLineEdit*>(dialog.GetDlgItem(IdFocalMaxEdit))->text().isEmpty());
    EXPECT_TRUE(dialog.m_matchesLabel->text().isEmpty()); // never "Static"
    EXPECT_EQ(dialog.m_resultsList->model()->rowCount(), 0);
    EXPECT_TRUE(dialog.m_linkLabel->m_isLink);
    EXPECT_EQ(dialog.m_linkLabel->font().pixelSize(), dialog.logicalDpiY() * 120 / 720);
    EXPECT_FALSE(dialog.m_linkLabel->font().bold());
    EXPECT_TRUE(dialog.m_matchesLabel->font().bold());
    const int widths[] = { 95, 170, 60, 80, 50, 85 };
    for (int column = 0; column < 6; ++column)
        EXPECT_EQ(dialog.m_resultsList->horizontalHeader()->sectionSize(column), widths[column]);
    for (std::int32_t direction : g_sortDirection)
        EXPECT_EQ(direction, 1);
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        EXPECT_FALSE(button->isDefault() || button->autoDefault()) << button->text().toStdString();

    ShowAndActivate(dialog);
    EXPECT_EQ(QApplication::focusWidget(), dialog.GetDlgItem(IdCancel));
    // The background: white at the top, one step short of RGB(239, 239, 255) at the bottom.
    const QImage image = dialog.grab().toImage();
    EXPECT_EQ(image.pixel(3, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(3, 422), qRgb(240, 240, 255));
}

// Enter in an edit box runs the query when it is enabled and never closes the window;
// the About box opens for the window-menu commands 16..31 and for F1.
TEST(MainDialog, EnterRunsTheQueryAndAboutCommandsOpenTheAboutBox)
{
    FakeDesktop desktop; // Open's file dialog is dismissed
    CMainDialog dialog;
    ShowAndActivate(dialog);
    QSignalSpy queries(Button(dialog, IdQuery), &QPushButton::clicked);
    QWidget* edit = dialog.GetDlgItem(IdFocalMinEdit);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return); // Query disabled: nothing happens
    EXPECT_EQ(queries.count(), 0);
    dialog.GetDlgItem(IdQuery)->setEnabled(true);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(dialog.GetDlgItem(IdFocalMaxEdit), Qt::Key_Enter);
    EXPECT_EQ(queries.count(), 2);
    QSignalSpy opens(Button(dialog, IdOpen), &QPushButton::clicked);
    dialog.GetDlgItem(IdOpen)->setFocus(); // Enter on a focused push button clicks it only
    QTest::keyClick(dialog.GetDlgItem(IdOpen), Qt::Key_Return);
    EXPECT_EQ(opens.count(), 1);
    EXPECT_EQ(queries.count(), 2);
    EXPECT_TRUE(dialog.isVisible());

    const QString about = QStringLiteral("About Fotolot");
    // The low four bits of a window-menu command are ignored.
    for (unsigned command : { 16u, 17u, 31u, 15u, 32u, 0xF060u }) {
        EXPECT_EQ(ModalTitleDuring([&] { dialog.OnSysCommand(command); }),
            command >= 16 && command <= 31 ? about : QString())
            << command;
    }
    ShowAndActivate(dialog);
    EXPECT_EQ(ModalTitleDuring([&] { QTest::keyClick(&dialog, Qt::Key_F1); }), about);
    EXPECT_TRUE(dialog.isVisible()); // closing the About box leaves the main window open
}

TEST(MainDialog, EveryWayOfClosingReleasesTheRecords)
{
    for (int way = 0; way < 3; ++way) { // the Exit button, Escape, the close box
        CMainDialog dialog;
        PhotoCatalogue& catalogue = dialog.m_catalogue;
        catalogue.head = std::make_unique<PhotoRecord>();
        catalogue.head->next = std::make_unique<PhotoRecord>();
        catalogue.spare = catalogue.head->next.get();
        catalogue.recordCount = 1;
        ShowAndActivate(dialog);
        if (way == 0)
            Button(dialog, IdCancel)->click();
        else if (way == 1)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        EXPECT_FALSE(dialog.isVisible()) << way;
        EXPECT_EQ(catalogue.head, nullptr) << way;
        EXPECT_EQ(catalogue.spare, nullptr) << way;
        EXPECT_EQ(catalogue.recordCount, 0) << way;
    }
}
