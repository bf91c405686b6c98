// SPDX-License-Identifier: MIT
#include "capture/WindowImage.h"

#include "capture/Dib.h"
#include "capture/ImageExport.h"
#include "controls/SaveToPath.h"

#include "tests/support/FakeDesktop.h"
#include "tests/support/FileSizeLimit.h"

#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

#include <csignal>

#include <sys/stat.h>

namespace {
ssize_t DiskFull(int, const void*, size_t)
{
    errno = ENOSPC;
    return -1;
}
} // namespace

// A cancelled dialog does nothing; a file is written whole with the encoder the extension's
// MIME type names (any letter case, trailing spaces as the export takes them) and reads back
// as the window's pixels; every failure (a full disk among them) shows the box with its
// reason and leaves no file. A FIFO without a reader fails at once and is never replaced.
// Past a file-size limit the save fails with "File too large" instead of ending the program.
// Also run under Xvfb on the xcb platform (the capture_xvfb test), where the picture is read
// from the screen.
TEST(SaveWindowImage, WritesByTheExtensionOrShowsTheReasonAndLeavesNoFile)
{
    QTemporaryDir dir;
    QFile(dir.filePath(QStringLiteral("blocker"))).open(QIODevice::WriteOnly);
    const QString fifo = dir.filePath(QStringLiteral("fifo.png"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
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
    // reason shown; "full.png" goes to a disk that takes no byte.
    const std::tuple<const char*, const char*, const char*> cases[] = { { "", nullptr, nullptr },
        { "Fotolot.png", "png", nullptr }, { "Shot.PNG", "png", nullptr },
        { "shot.jpg", "jpeg", nullptr }, { "shot.JPG", "jpeg", nullptr },
        { "shot.jpe", "jpeg", nullptr }, { "shot.TIF", "tiff", nullptr },
        { "shot.bmp", "bmp", nullptr }, { "shot.PPM", "ppm", nullptr },
        { "trail.png  ", "png", nullptr }, { "shot.xyz", nullptr, "No image writer for .xyz" },
        { "shot", nullptr, "No image writer for a name without an extension" },
        { "blocker/shot.png", nullptr, "Not a directory" },
        { "fifo.png", nullptr, "No such device or address" },
        { "full.png", nullptr, "No space left on device" } };
    const auto all = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    // An extension the system does not know still names its type in lower case.
    EXPECT_EQ(EncoderMimeType(QStringLiteral("XYZ")), "image/xyz");
    for (const auto& [name, format, reason] : cases) {
        SCOPED_TRACE(name);
        FakeDesktop desktop;
        desktop.saveTarget = *name ? dir.filePath(QString::fromLatin1(name)) : QString();
        const SaveFileCalls previous
            = SetSaveFileCalls({ std::string(name) == "full.png" ? DiskFull : nullptr, nullptr });
        EXPECT_EQ(SaveWindowImage(&window, QStringLiteral("Fotolot"), 0), format != nullptr);
        SetSaveFileCalls(previous);
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
        // Beside the blocker and the FIFO, which stays one, nothing is left.
        EXPECT_EQ(QDir(dir.path()).entryList(all).join(u' ').toStdString(), "blocker fifo.png");
        EXPECT_TRUE(std::filesystem::is_fifo(QFile::encodeName(fifo).toStdString()));
    }

    // As under "ulimit -f 20".
    QImage noise(200, 200, QImage::Format_RGB32);
    quint32 x = 1;
    for (int i = 0; i < 200 * 200; ++i)
        noise.setPixel(i % 200, i / 200, (x = x * 1664525u + 1013904223u) >> 8);
    const std::vector<std::uint8_t> dib = BitmapToDib(noise);
    EXPECT_EQ(SaidUnderFileSizeLimit(20480,
                  [&] {
                      QString reason;
                      return SaveDibAsImage(dir.filePath(QStringLiteral("big.png")),
                                 QStringLiteral("png"), dib, &reason)
                              == 1
                          ? QStringLiteral("saved")
                          : reason;
                  }),
        "File too large");
    EXPECT_EQ(QDir(dir.path()).entryList(all).join(u' ').toStdString(), "blocker fifo.png");
}
