// SPDX-License-Identifier: MIT
#include "capture/WindowImage.h"

#include "tests/support/FakeDesktop.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// Four quadrants of known colours, so that a picture of the window can be checked pixel by pixel.
QRgb QuadrantColour(int x, int y, QSize size)
{
    static const QRgb colours[4]
        = { qRgb(200, 30, 40), qRgb(20, 180, 60), qRgb(10, 40, 220), qRgb(250, 240, 5) };
    return colours[(y >= size.height() / 2 ? 2 : 0) + (x >= size.width() / 2 ? 1 : 0)];
}

struct QuadrantWidget : QWidget {
    QuadrantWidget() { setObjectName(QStringLiteral("window")); }
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                painter.fillRect(x, y, 1, 1, QColor(QuadrantColour(x, y, size())));
    }
};

// The pixels of the client area, at offset in picture, that differ from the quadrants.
int WrongPixels(const QImage& picture, QPoint offset, QSize client)
{
    int wrong = 0;
    for (int y = 0; y < client.height(); ++y)
        for (int x = 0; x < client.width(); ++x)
            wrong += picture.pixel(offset + QPoint(x, y)) != QuadrantColour(x, y, client);
    return wrong;
}

} // namespace

// A cancelled dialog does nothing; a PNG is written whole; every failure shows the box and
// leaves no file.
TEST(SaveWindowImage, WritesThePngOrShowsTheBoxAndLeavesNoFile)
{
    QTemporaryDir dir;
    QFile(dir.filePath(QStringLiteral("blocker"))).open(QIODevice::WriteOnly);
    QuadrantWidget window;
    window.resize(33, 21);
    const QString dialog = QStringLiteral("window|Fotolot|Portable Network Graphics (*.png)|png");
    const QString box = QStringLiteral("window|Error saving file|");
    const std::tuple<const char*, bool, QStringList> cases[]
        = { // chosen name, saved, desktop calls
              { "", false, { dialog } }, { "Fotolot.png", true, { dialog } },
              { "shot.xyz", false, { dialog, box } }, { "shot.jpg", false, { dialog, box } },
              { "shot.", false, { dialog, box } }, { "shot", false, { dialog, box } },
              { "blocker/shot.png", false, { dialog, box } }
          };
    for (const auto& [name, saved, calls] : cases) {
        FakeDesktop desktop;
        desktop.saveTarget = *name ? dir.filePath(QString::fromLatin1(name)) : QString();
        EXPECT_EQ(SaveWindowImage(&window, QStringLiteral("Fotolot"), 0), saved) << name;
        EXPECT_EQ(desktop.calls, calls) << name;
        QStringList entries = { QStringLiteral("blocker") };
        if (saved)
            entries.append(QStringLiteral("Fotolot.png"));
        EXPECT_EQ(
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            entries)
            << name;
        if (saved) {
            const QImage png(desktop.saveTarget, "png");
            ASSERT_EQ(png.size(), QSize(33, 21));
            EXPECT_EQ(WrongPixels(png, { 0, 0 }, png.size()), 0);
            QFile::remove(desktop.saveTarget);
        }
    }
    // No picture, no DIB: the capture fails without a file.
    const QString none = dir.filePath(QStringLiteral("none.png"));
    EXPECT_FALSE(CaptureWindow(none, QStringLiteral("png"), nullptr));
    EXPECT_FALSE(QFile::exists(none));
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
    QuadrantWidget window;
    window.setGeometry(37, 29, 121, 67);
    window.show();
    for (int i = 0; i < 100 && !window.windowHandle()->isExposed(); ++i)
        WaitWithMessages(20);
    ASSERT_TRUE(window.windowHandle()->isExposed());
    ASSERT_TRUE(SaveWindowImage(&window, QStringLiteral("Fotolot"), 200));
    const QImage saved(desktop.saveTarget, "png");
    const QRect frame = window.frameGeometry();
    ASSERT_EQ(saved.size(), frame.size());
    // Without a window manager the frame is the client area; with one, the client area
    // sits inside the decorations.
    EXPECT_EQ(WrongPixels(saved, window.geometry().topLeft() - frame.topLeft(), window.size()), 0);
}
