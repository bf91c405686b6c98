// SPDX-License-Identifier: MIT
#include "capture/WindowImage.h"

#include "capture/ImageExport.h"

#include "tests/support/FakeDesktop.h"

#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

// A cancelled dialog does nothing; a file is written whole with the encoder the extension's
// MIME type names (any letter case, trailing spaces as the export takes them) and reads back
// as the window's pixels; a name no encoder takes shows the box with the reason and leaves
// no file. (How a save fails on the disk is the save's own test.)
// Also run under Xvfb on the xcb platform (the capture_xvfb test), where the picture is read
// from the screen.
TEST(SaveWindowImage, WritesByTheExtensionOrShowsTheReasonAndLeavesNoFile)
{
    QTemporaryDir dir;
    QPixmap parts(33, 21); // a window of known colours in three parts
    parts.fill(QColor(200, 30, 40));
    QPainter(&parts).fillRect(16, 0, 17, 10, QColor(20, 180, 60));
    QPainter(&parts).fillRect(0, 10, 33, 11, QColor(10, 40, 220));
    QLabel window;
    window.setPixmap(parts);
    window.setObjectName(QStringLiteral("window"));
    window.resize(33, 21);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(200); // on the screen, for the xcb platform

    const QString dialog = QStringLiteral("window|Fotolot|Portable Network Graphics (*.png)|png");
    const QString box = QStringLiteral("window|Error saving file||");
    // The chosen name, the format written (lossless ones compared pixel by pixel) or the
    // reason shown.
    const std::tuple<const char*, const char*, const char*> cases[] = { { "", nullptr, nullptr },
        { "Fotolot.png", "png", nullptr }, { "Shot.PNG", "png", nullptr },
        { "shot.jpg", "jpeg", nullptr }, { "shot.JPG", "jpeg", nullptr },
        { "shot.jpe", "jpeg", nullptr }, { "shot.TIF", "tiff", nullptr },
        { "shot.bmp", "bmp", nullptr }, { "shot.PPM", "ppm", nullptr },
        { "trail.png  ", "png", nullptr }, { "shot.xyz", nullptr, "No image writer for .xyz" },
        { "shot", nullptr, "No image writer for a name without an extension" } };
    const auto all = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    // An extension the system does not know still names its type in lower case.
    EXPECT_EQ(EncoderMimeType(QStringLiteral("XYZ")), "image/xyz");
    for (const auto& [name, format, reason] : cases) {
        SCOPED_TRACE(name);
        FakeDesktop desktop;
        desktop.saveTarget = *name ? dir.filePath(QString::fromLatin1(name)) : QString();
        EXPECT_EQ(SaveWindowImage(&window, QStringLiteral("Fotolot"), 0), format != nullptr);
        EXPECT_EQ(desktop.calls.join(u'/').toStdString(),
            (reason ? dialog + u'/' + box + QString::fromLatin1(reason) : dialog).toStdString());
        if (format) {
            QImageReader reader(desktop.saveTarget);
            EXPECT_EQ(reader.format().toStdString(), format);
            const QImage saved = reader.read().convertToFormat(QImage::Format_RGB32);
            EXPECT_EQ(saved.size(), QSize(33, 21));
            EXPECT_TRUE(std::string(format) == "jpeg"
                || saved == window.grab().toImage().convertToFormat(QImage::Format_RGB32));
            QFile::remove(desktop.saveTarget);
        }
        EXPECT_TRUE(QDir(dir.path()).isEmpty(all));
    }
}
