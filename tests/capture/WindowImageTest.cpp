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

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// A cancelled dialog does nothing; a file is written whole with the encoder the extension's
// MIME type names (any letter case) and reads back as the window's pixels; every failure
// shows the box with its reason and leaves no file. A FIFO without a reader fails at once
// and is never replaced. Also run under Xvfb on the xcb platform (the capture_xvfb test),
// where the picture is read from the screen.
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
    // reason shown.
    const std::tuple<const char*, const char*, const char*> cases[] = { { "", nullptr, nullptr },
        { "Fotolot.png", "png", nullptr }, { "Shot.PNG", "png", nullptr },
        { "shot.jpg", "jpeg", nullptr }, { "shot.JPG", "jpeg", nullptr },
        { "shot.jpe", "jpeg", nullptr }, { "shot.tif", "tiff", nullptr },
        { "shot.bmp", "bmp", nullptr }, { "shot.xyz", nullptr, "No image writer for .xyz" },
        { "shot", nullptr, "No image writer for a name without an extension" },
        { "blocker/shot.png", nullptr, "Not a directory" },
        { "fifo.png", nullptr, "No such device or address" } };
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
        // Beside the blocker and the FIFO, which stays one, nothing is left.
        const auto all = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
        EXPECT_EQ(QDir(dir.path()).entryList(all).join(u' ').toStdString(), "blocker fifo.png");
        EXPECT_TRUE(std::filesystem::is_fifo(QFile::encodeName(fifo).toStdString()));
    }
}

namespace {
ssize_t DiskFull(int, const void*, size_t)
{
    errno = ENOSPC;
    return -1;
}
} // namespace

// The screenshot fails as the export does: a full disk and a read-only one say so and leave
// no file, and past a file-size limit the save fails with "File too large" instead of ending
// the program. A name with trailing spaces is written as the export writes it, and an
// extension in capitals finds its encoder.
TEST(SaveWindowImage, FullAndReadOnlyDisksASizeLimitTrailingSpacesAndCapitals)
{
    const std::pair<const char*, const char*> types[]
        = { { "PNG", "image/png" }, { "Png", "image/png" }, { "JPG", "image/jpeg" },
              { "JPEG", "image/jpeg" }, { "TIF", "image/tiff" }, { "BMP", "image/bmp" },
              { "PPM", "image/x-portable-pixmap" }, { "XYZ", "image/xyz" }, { "Q", "image/q" } };
    for (const auto& [extension, type] : types)
        EXPECT_EQ(EncoderMimeType(QString::fromLatin1(extension)).toStdString(), type) << extension;
    EXPECT_EQ(FileExtension(QStringLiteral("/d/trail.png  ")), QStringLiteral("png"));

    QTemporaryDir dir;
    QLabel window(QStringLiteral("picture"));
    window.setObjectName(QStringLiteral("window"));
    window.resize(40, 30);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto all = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;
    {
        FakeDesktop desktop;
        desktop.saveTarget = dir.filePath(QStringLiteral("trail.png  "));
        EXPECT_TRUE(SaveWindowImage(&window, QStringLiteral("Fotolot"), 0));
        EXPECT_EQ(QImageReader(desktop.saveTarget).format(), "png");
        EXPECT_EQ(desktop.calls.size(), 1);
        QFile::remove(desktop.saveTarget);

        desktop.calls.clear();
        desktop.saveTarget = dir.filePath(QStringLiteral("full.png"));
        const SaveFileCalls previous = SetSaveFileCalls({ DiskFull, nullptr });
        EXPECT_FALSE(SaveWindowImage(&window, QStringLiteral("Fotolot"), 0));
        SetSaveFileCalls(previous);
        EXPECT_EQ(desktop.calls.value(1),
            QStringLiteral("window|Error saving file||No space left on device"));
        EXPECT_TRUE(QDir(dir.path()).entryList(all).isEmpty());
    }

    // As under "ulimit -f 20".
    const QImage noise = [] {
        QImage image(200, 200, QImage::Format_RGB32);
        quint32 x = 1;
        for (int y = 0; y < 200; ++y)
            for (int i = 0; i < 200; ++i)
                image.setPixel(i, y, (x = x * 1664525u + 1013904223u) >> 8);
        return image;
    }();
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
    EXPECT_TRUE(QDir(dir.path()).entryList(all).isEmpty());

    const QString readOnly = dir.filePath(QStringLiteral("ro"));
    QDir().mkpath(readOnly);
    const QByteArray mountPoint = QFile::encodeName(readOnly);
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", MS_RDONLY, "size=64k") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    FakeDesktop desktop;
    desktop.saveTarget = readOnly + QStringLiteral("/shot.png");
    EXPECT_FALSE(SaveWindowImage(&window, QStringLiteral("Fotolot"), 0));
    ::umount2(mountPoint.constData(), MNT_DETACH);
    EXPECT_EQ(
        desktop.calls.value(1), QStringLiteral("window|Error saving file||Read-only file system"));
}
