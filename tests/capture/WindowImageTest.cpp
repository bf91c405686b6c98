// SPDX-License-Identifier: MIT
#include "capture/WindowImage.h"

#include "tests/support/FakeDesktop.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// A window of known colours in three parts.
struct PartedWidget : QWidget {
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(200, 30, 40));
        painter.fillRect(width() / 2, 0, width(), height() / 2, QColor(20, 180, 60));
        painter.fillRect(0, height() / 2, width(), height(), QColor(10, 40, 220));
    }
    // The pixels the window draws, to compare a saved picture with.
    QImage Drawn() { return grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

} // namespace

// A cancelled dialog does nothing; a PNG is written whole (also for an upper-case
// extension, looked up lower-cased) and reads back as the window's pixels; every failure
// shows the box and leaves no file.
TEST(SaveWindowImage, WritesThePngOrShowsTheBoxAndLeavesNoFile)
{
    QTemporaryDir dir;
    QFile(dir.filePath(QStringLiteral("blocker"))).open(QIODevice::WriteOnly);
    PartedWidget window;
    window.setObjectName(QStringLiteral("window"));
    window.resize(33, 21);
    const QString dialog = QStringLiteral("window|Fotolot|Portable Network Graphics (*.png)|png");
    const QString box = QStringLiteral("window|Error saving file|");
    // The chosen name ("jpg" names no MIME type), the desktop calls.
    const std::pair<const char*, QStringList> cases[]
        = { { "", { dialog } }, { "Fotolot.png", { dialog } }, { "Shot.PNG", { dialog } },
              { "shot.xyz", { dialog, box } }, { "shot.jpg", { dialog, box } },
              { "shot", { dialog, box } }, { "blocker/shot.png", { dialog, box } } };
    for (const auto& [name, calls] : cases) {
        FakeDesktop desktop;
        desktop.saveTarget = *name ? dir.filePath(QString::fromLatin1(name)) : QString();
        const bool saved = calls.size() == 1 && *name;
        EXPECT_EQ(SaveWindowImage(&window, QStringLiteral("Fotolot"), 0), saved) << name;
        EXPECT_EQ(desktop.calls, calls) << name;
        // Beside the blocker only the file written, if any.
        EXPECT_EQ(
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            saved ? QStringList({ "blocker", name }) : QStringList({ "blocker" }))
            << name;
        if (saved) {
            EXPECT_EQ(QImage(desktop.saveTarget, "png").convertToFormat(QImage::Format_RGB32),
                window.Drawn());
            QFile::remove(desktop.saveTarget);
        }
    }
}

// Runs under Xvfb on the xcb platform (the capture_xvfb test), where the picture is read
// from the screen and covers the frame.
TEST(CaptureXvfb, SavedPngShowsTheWindowOnTheScreen)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs the xcb platform";
    QTemporaryDir dir;
    FakeDesktop desktop;
    desktop.saveTarget = dir.filePath(QStringLiteral("Fotolot.png"));
    PartedWidget window;
    window.setGeometry(37, 29, 121, 67);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(SaveWindowImage(&window, QStringLiteral("Fotolot"), 200));
    const QImage saved(desktop.saveTarget, "png");
    const QRect frame = window.frameGeometry();
    ASSERT_EQ(saved.size(), frame.size());
    // Without a window manager the frame is the client area; with one, the client area
    // sits inside the decorations.
    EXPECT_EQ(saved.copy({ window.geometry().topLeft() - frame.topLeft(), window.size() })
                  .convertToFormat(QImage::Format_RGB32),
        window.Drawn());
}
