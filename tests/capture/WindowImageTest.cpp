// SPDX-License-Identifier: MIT
#include "capture/WindowImage.h"

#include "controls/DesktopSeam.h"

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

// Answers the save dialog with m_chosenPath and records what was asked and shown.
class FakeDesktop : public DesktopSeam {
public:
    explicit FakeDesktop(QString chosenPath = {})
        : m_chosenPath(std::move(chosenPath)), m_previous(SetDesktop(this)) {}
    ~FakeDesktop() override { SetDesktop(m_previous); }

    QStringList ChooseFilesToOpen(QWidget*, const QString&, const QStringList&) override { return {}; }
    QString ChooseSaveFile(QWidget* parent, const QString& proposedName, const QString& filter,
                           const QString& defaultSuffix) override
    {
        m_asked << QStringList{proposedName, filter, defaultSuffix};
        m_saveParent = parent;
        return m_chosenPath;
    }
    void ShowError(QWidget* parent, const QString& caption, const QString& text) override
    {
        m_errors << QStringList{caption, text};
        m_errorParent = parent;
    }
    bool OpenWithDesktop(const QUrl&) override { return false; }

    QString m_chosenPath;
    QList<QStringList> m_asked, m_errors;
    QWidget* m_saveParent = nullptr;
    QWidget* m_errorParent = nullptr;

private:
    DesktopSeam* m_previous;
};

// Four quadrants of known colours, so that a picture of the window can be checked pixel
// by pixel.
QRgb QuadrantColour(int x, int y, QSize size)
{
    static const QRgb colours[4] = {qRgb(200, 30, 40), qRgb(20, 180, 60), qRgb(10, 40, 220),
                                    qRgb(250, 240, 5)};
    return colours[(y >= size.height() / 2 ? 2 : 0) + (x >= size.width() / 2 ? 1 : 0)];
}

class QuadrantWidget : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const int w = width() / 2, h = height() / 2;
        for (const QRect& r : {QRect(0, 0, w, h), QRect(w, 0, width() - w, h),
                               QRect(0, h, w, height() - h), QRect(w, h, width() - w, height() - h)})
            painter.fillRect(r, QColor(QuadrantColour(r.x(), r.y(), size())));
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

QStringList Entries(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(SaveWindowImage, CancelledDialogDoesNothing)
{
    FakeDesktop desktop;
    QuadrantWidget window;
    EXPECT_FALSE(SaveWindowImage(&window));
    EXPECT_EQ(desktop.m_asked, (QList<QStringList>{{QStringLiteral("Fotolot"),
                                                    QStringLiteral("Portable Network Graphics (*.png)"),
                                                    QStringLiteral("png")}}));
    EXPECT_EQ(desktop.m_saveParent, &window);
    EXPECT_TRUE(desktop.m_errors.isEmpty());
}

TEST(SaveWindowImage, WritesTheWindowPictureAsPng)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FakeDesktop desktop(dir.filePath(QStringLiteral("Fotolot.png")));
    QuadrantWidget window;
    window.resize(33, 21);

    ASSERT_TRUE(SaveWindowImage(&window, QStringLiteral("Fotolot"), 0));
    const QImage saved(desktop.m_chosenPath, "png");
    ASSERT_EQ(saved.size(), QSize(33, 21));
    EXPECT_EQ(WrongPixels(saved, {0, 0}, saved.size()), 0);
    EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("Fotolot.png")});
    EXPECT_TRUE(desktop.m_errors.isEmpty());
}

TEST(SaveWindowImage, EveryFailureShowsTheBoxAndLeavesNoFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QuadrantWidget window;
    window.resize(8, 6);

    for (const char* name : {"shot.xyz", "shot.jpg", "shot.", "shot", "blocker/shot.png"}) {
        SCOPED_TRACE(name);
        FakeDesktop desktop(dir.filePath(QString::fromLatin1(name)));
        EXPECT_FALSE(SaveWindowImage(&window, QStringLiteral("Fotolot"), 0));
        EXPECT_EQ(desktop.m_errors, (QList<QStringList>{{QStringLiteral("Error saving file"), QString()}}));
        EXPECT_EQ(desktop.m_errorParent, &window);
        EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("blocker")});
    }

    // No picture, no DIB: the capture fails without a file.
    EXPECT_FALSE(CaptureWindow(dir.filePath(QStringLiteral("none.png")), QStringLiteral("png"), nullptr));
    EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("blocker")});
}

// Runs under Xvfb on the xcb platform (the capture_xvfb test), where the picture is read
// from the screen and covers the frame.
TEST(CaptureXvfb, SavedPngShowsTheWindowOnTheScreen)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs the xcb platform";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FakeDesktop desktop(dir.filePath(QStringLiteral("Fotolot.png")));
    QuadrantWidget window;
    window.setGeometry(37, 29, 121, 67);
    window.show();
    for (int i = 0; i < 100 && !window.windowHandle()->isExposed(); ++i)
        WaitWithMessages(20);
    ASSERT_TRUE(window.windowHandle()->isExposed());

    ASSERT_TRUE(SaveWindowImage(&window, QStringLiteral("Fotolot"), 200));
    const QImage saved(desktop.m_chosenPath, "png");
    const QRect frame = window.frameGeometry();
    ASSERT_EQ(saved.size(), frame.size());
    // Without a window manager the frame is the client area; with one, the client area
    // sits inside the decorations.
    EXPECT_EQ(WrongPixels(saved, window.geometry().topLeft() - frame.topLeft(), window.size()), 0);
}
