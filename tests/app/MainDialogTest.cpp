// SPDX-License-Identifier: MIT
#include "app/CMainDialog.h"

#include "app/ControlIds.h"
#include "controls/CTransparentStatic.h"
#include "controls/DrawGradient.h"
#include "controls/ImageEncoder.h"
#include "controls/UpDownControl.h"
#include "query/ListSort.h"
#include "tests/support/FakeDesktop.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

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
} // namespace

TEST(MainDialog, FixedWindowLaidOutInDialogUnitsInTabOrder)
{
    CMainDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Fotolot 0.92 beta"));
    EXPECT_EQ(dialog.size(), QSize(593, 423)); // 395 x 282 dialog units at 6 x 12
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.windowFlags() & Qt::WindowType_Mask, Qt::Window);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);

    EXPECT_EQ(dialog.GetDlgItem(IdCancel)->geometry(), QRect(506, 11, 75, 21)); // 337, 7, 50, 14
    EXPECT_EQ(dialog.GetDlgItem(IdResultsList)->geometry(), QRect(11, 330, 572, 87));
    EXPECT_EQ(dialog.GetDlgItem(IdMatches)->geometry(), QRect(464, 51, 107, 12));
    EXPECT_EQ(dialog.GetDlgItem(IdShow)->geometry().topLeft(), QPoint(456, 93));
    EXPECT_EQ(dialog.m_focalMinSpin->Buddy(), dialog.GetDlgItem(IdFocalMinEdit));
    EXPECT_EQ(dialog.m_focalMaxSpin->Buddy(), dialog.GetDlgItem(IdFocalMaxEdit));

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
}

TEST(MainDialog, StateRightAfterStart)
{
    std::fill(std::begin(g_sortDirection), std::end(g_sortDirection), -1);
    CMainDialog dialog;

    EXPECT_FALSE(dialog.GetDlgItem(IdQuery)->isEnabled());
    EXPECT_TRUE(dialog.GetDlgItem(IdOpen)->isEnabled());
    EXPECT_EQ(dialog.GetDlgItem(IdScreenshot)->isEnabled(), IsImageEncoderAvailable());
    const QStringList show
        = { "Aperture", "Focal length", "ISO", "Shutter speed", "File size (MB)" };
    ASSERT_EQ(dialog.m_showCombo->count(), show.size());
    for (int i = 0; i < show.size(); ++i)
        EXPECT_EQ(dialog.m_showCombo->itemText(i), show[i]);
    EXPECT_EQ(dialog.m_showCombo->currentIndex(), 0);
    for (QComboBox* bound :
        { dialog.m_apertureMinCombo, dialog.m_apertureMaxCombo, dialog.m_isoMinCombo,
            dialog.m_isoMaxCombo, dialog.m_shutterMinCombo, dialog.m_shutterMaxCombo })
        EXPECT_EQ(bound->currentIndex(), -1);
    EXPECT_TRUE(qobject_cast<QLineEdit*>(dialog.GetDlgItem(IdFocalMinEdit))->text().isEmpty());
    EXPECT_TRUE(qobject_cast<QLineEdit*>(dialog.GetDlgItem(IdFocalMaxEdit))->text().isEmpty());
    EXPECT_TRUE(dialog.m_matchesLabel->text().isEmpty()); // never "Static"

    const int widths[] = { 95, 170, 60, 80, 50, 85 };
    const QAbstractItemModel* model = dialog.m_resultsList->model();
    ASSERT_EQ(model->columnCount(), 6);
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(model->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Shutter speed"));
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(dialog.m_resultsList->horizontalHeader()->sectionSize(c), widths[c]) << c;
    EXPECT_EQ(dialog.m_resultsList->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(dialog.m_resultsList->selectionMode(), QAbstractItemView::SingleSelection);

    // The link: blue 12-point Arial of normal weight with the hand cursor; the count bold.
    const QFont link = dialog.m_linkLabel->font();
    EXPECT_EQ(link.family(), QStringLiteral("Arial"));
    EXPECT_EQ(link.pixelSize(), dialog.logicalDpiY() * 120 / 720);
    EXPECT_EQ(link.weight(), QFont::Normal);
    EXPECT_EQ(dialog.m_linkLabel->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(dialog.m_linkLabel->m_isLink);
    EXPECT_EQ(dialog.m_linkLabel->m_hCursor.shape(), Qt::PointingHandCursor);
    EXPECT_EQ(dialog.m_matchesLabel->font().weight(), QFont::Bold);

    for (std::int32_t direction : g_sortDirection)
        EXPECT_EQ(direction, 1);
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        EXPECT_FALSE(button->isDefault() || button->autoDefault()) << button->text().toStdString();

    ShowAndActivate(dialog);
    EXPECT_EQ(QApplication::focusWidget(), dialog.GetDlgItem(IdCancel));
    // The background: white at the top, one step short of RGB(239, 239, 255) at the bottom.
    const QImage image = dialog.grab().toImage();
    EXPECT_EQ(image.pixel(3, 0), qRgb(255, 255, 255));
    EXPECT_EQ(
        image.pixel(3, 422), GradientColour(qRgb(255, 255, 255), qRgb(239, 239, 255), 422, 423));
    EXPECT_EQ(image.pixel(3, 422), qRgb(240, 240, 255));
}

TEST(MainDialog, EnterRunsTheQueryAndNeverCloses)
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

    // Enter on a focused push button clicks that button only.
    QSignalSpy opens(Button(dialog, IdOpen), &QPushButton::clicked);
    dialog.GetDlgItem(IdOpen)->setFocus();
    QTest::keyClick(dialog.GetDlgItem(IdOpen), Qt::Key_Return);
    EXPECT_EQ(opens.count(), 1);
    EXPECT_EQ(queries.count(), 2);
    EXPECT_TRUE(dialog.isVisible());
}

TEST(MainDialog, EveryWayOfClosingReleasesTheRecords)
{
    enum Way { ExitButton, Escape, CloseBox };
    for (Way way : { ExitButton, Escape, CloseBox }) {
        CMainDialog dialog;
        PhotoCatalogue& catalogue = dialog.m_catalogue;
        catalogue.head = std::make_unique<PhotoRecord>();
        catalogue.head->next = std::make_unique<PhotoRecord>();
        catalogue.spare = catalogue.head->next.get();
        catalogue.recordCount = 1;
        ShowAndActivate(dialog);
        if (way == ExitButton)
            Button(dialog, IdCancel)->click();
        else if (way == Escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        EXPECT_FALSE(dialog.isVisible()) << way;
        EXPECT_EQ(catalogue.head, nullptr) << way;
        EXPECT_EQ(catalogue.spare, nullptr) << way;
        EXPECT_EQ(catalogue.recordCount, 0) << way;
    }
}
