// SPDX-License-Identifier: MIT
#include "app/CAboutDlg.h"

#include "app/CFotolotApp.h"
#include "app/CMainDialog.h"
#include "app/ControlIds.h"
#include "controls/CTransparentStatic.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace {
// Runs action, which may open a modal window; the first modal window that opens is
// closed at once. Returns its title, or an empty string when none opened.
QString ModalTitleDuring(const std::function<void()>& action)
{
    QString title;
    QTimer closer;
    closer.setInterval(0);
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

TEST(AboutBox, OpensForTheAboutCommandFromTheWindowMenuAndF1)
{
    CMainDialog dialog;
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    const QString about = QStringLiteral("About Fotolot");

    // The low four bits of a window-menu command are ignored.
    for (unsigned command : { 16u, 17u, 31u, 15u, 32u, 0xF060u }) {
        const bool opens = command >= 16 && command <= 31;
        EXPECT_EQ(
            ModalTitleDuring([&] { dialog.OnSysCommand(command); }), opens ? about : QString())
            << command;
    }
    const QList<QAction*> items = dialog.m_systemMenu->actions();
    ASSERT_FALSE(items.isEmpty());
    EXPECT_EQ(items.back()->text(), QStringLiteral("&About Fotolot..."));
    EXPECT_EQ(ModalTitleDuring([&] { items.back()->trigger(); }), about);
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(ModalTitleDuring([&] { QTest::keyClick(&dialog, Qt::Key_F1); }), about);
    // Closing the About box leaves the main window open and nothing else behind.
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.findChildren<CAboutDlg*>().isEmpty());
}

TEST(AboutBox, ContentsAndBackground)
{
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Fotolot"));
    EXPECT_EQ(about.size(), QSize(353, 83)); // 235 x 55 dialog units
    EXPECT_EQ(about.m_versionLabel->text(), QStringLiteral("Fotolot Version 0.92 beta"));
    EXPECT_EQ(about.m_versionLabel->font().weight(), QFont::Bold);
    EXPECT_EQ(about.m_noticeLabel->font().weight(), QFont::Bold);
    EXPECT_LE(about.m_noticeLabel->fontMetrics().horizontalAdvance(about.m_noticeLabel->text()),
        about.m_noticeLabel->width());
    const QList<QPushButton*> buttons = about.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_TRUE(buttons.front()->isDefault());

    const QImage image = about.grab().toImage();
    EXPECT_EQ(image.pixel(2, 0), qRgb(240, 240, 255));
    EXPECT_EQ(image.pixel(2, 82), qRgb(209, 209, 224)); // 240 + 82 * -32 / 83 = 209
}

TEST(Application, InitInstanceRunsTheWindowUntilItClosesAndReturnsFalse)
{
    CFotolotApp app;
    bool result = true;
    EXPECT_EQ(ModalTitleDuring([&] { result = app.InitInstance(); }),
        QStringLiteral("Fotolot 0.92 beta"));
    EXPECT_FALSE(result);
}
