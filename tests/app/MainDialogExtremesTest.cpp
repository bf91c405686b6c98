// SPDX-License-Identifier: MIT
// The main window driven as a user does, with photos at the edges of what a file can hold.
#include "app/CMainDialog.h"

#include "app/ControlIds.h"
#include "bench/CorpusPhoto.h"
#include "controls/CTransparentStatic.h"
#include "controls/UpDownControl.h"
#include "tests/support/FakeDesktop.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {
void ShowAndActivate(CMainDialog& dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

QToolButton* Arrow(const UpDownControl* control, Qt::ArrowType type)
{
    for (QToolButton* button : control->findChildren<QToolButton*>()) {
        if (button->arrowType() == type)
            return button;
    }
    return nullptr;
}
} // namespace

// An f-number or exposure time not above 1e-8 counts as not given, and a focal length of
// 4294967295 mm fits the up-down range: the first query after a scan lists both photos, and
// still does after the Max text's up arrow and the Down key in the Min text, both at the ends
// of the range.
TEST(MainDialogExtremes, TinyAndHugeValuesPassTheFirstQuery)
{
    QTemporaryDir dir;
    FakeDesktop desktop;
    const CorpusPhoto photos[] = {
        { "NIKON", "CAM-1", { 1, 1000000000 }, { 1, 4294967295 }, { 50, 1 }, 100, false, false,
            1048576 },
        { "NIKON", "CAM-1", { 28, 10 }, { 1, 125 }, { 4294967295, 1 }, 200, false, false, 1048576 },
    };
    for (const CorpusPhoto& photo : photos) {
        const QString path = dir.filePath(QStringLiteral("IMG_%1.JPG").arg(photo.iso));
        ASSERT_TRUE(WriteCorpusFile(QFile::encodeName(path).toStdString(), photo));
        desktop.filesToOpen << path;
    }
    CMainDialog dialog;
    ShowAndActivate(dialog);
    QTest::mouseClick(dialog.GetDlgItem(IdOpen), Qt::LeftButton); // the scan runs to its end
    auto* minText = static_cast<QLineEdit*>(dialog.GetDlgItem(IdFocalMinEdit));
    auto* maxText = static_cast<QLineEdit*>(dialog.GetDlgItem(IdFocalMaxEdit));
    EXPECT_EQ(minText->text().toStdString(), "50");
    EXPECT_EQ(maxText->text().toStdString(), "4294967295");
    QTest::mouseClick(dialog.GetDlgItem(IdQuery), Qt::LeftButton);
    EXPECT_EQ(dialog.m_matchesLabel->text().toStdString(), "2/2");

    QToolButton* maxUp = Arrow(dialog.m_focalMaxSpin, Qt::UpArrow);
    ASSERT_NE(maxUp, nullptr);
    QTest::mouseClick(maxUp, Qt::LeftButton);
    QTest::keyClick(minText, Qt::Key_Down);
    EXPECT_EQ(minText->text().toStdString(), "50"); // the range's lower end
    EXPECT_EQ(maxText->text().toStdString(), "4294967295");
    QTest::mouseClick(dialog.GetDlgItem(IdQuery), Qt::LeftButton);
    EXPECT_EQ(dialog.m_matchesLabel->text().toStdString(), "2/2");
}
