// SPDX-License-Identifier: MIT
#include "capture/Dib.h"
#include "capture/ImageExport.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FindEncoder, FindsEveryEncoderAtItsPositionAndNothingElse)
{
    const QList<QByteArray> encoders = QImageWriter::supportedMimeTypes();
    ASSERT_FALSE(encoders.isEmpty());
    for (qsizetype i = 0; i < encoders.size(); ++i) {
        QByteArray format;
        EXPECT_EQ(FindEncoder(encoders.at(i), &format), i) << encoders.at(i).constData();
        EXPECT_TRUE(QImageWriter::supportedImageFormats().contains(format));
    }
    for (const char* missing : {"", "image/", "image/PNG", "image/png ", "image/none"})
        EXPECT_EQ(FindEncoder(missing), -1) << missing;
}

TEST(FileExtension, TakesTheTextAfterTheNameLastDot)
{
    const char* const cases[][2] = {{"/t/Fotolot.png", "png"}, {"/t/s.PNG", "PNG"},
                                    {"/t/a.b.jpeg", "jpeg"},   {"/t/shot.", ""},
                                    {"/t/shot", ""},           {"/t/dir.png/shot", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(FileExtension(QString::fromUtf8(c[0])), QString::fromUtf8(c[1])) << c[0];
}

TEST(SaveDibAsImage, EncodesWithTheLowerCasedWholeExtension)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage image(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            image.setPixel(x, y, qRgb(x * 30, y * 40, (x * 7 + y * 13) & 0xFF));
    const std::vector<std::uint8_t> dib = BitmapToDib(image);

    // "jpeg" and "tiff" are taken whole and work wherever Qt has their encoder; "jpg"
    // names no MIME type.
    for (const char* extension : {"png", "PNG", "Png", "bmp", "jpeg", "JPEG", "tiff", "jpg"}) {
        SCOPED_TRACE(extension);
        const QByteArray mimeType = "image/" + QByteArray(extension).toLower();
        const bool available = FindEncoder(mimeType) >= 0;
        const QString path = dir.filePath(QStringLiteral("shot.") + QString::fromLatin1(extension));
        EXPECT_EQ(SaveDibAsImage(path, QString::fromLatin1(extension), dib), available ? 1 : 0);
        ASSERT_EQ(QFile::exists(path), available);
        if (!available)
            continue;
        QImageReader reader(path);
        EXPECT_TRUE(QImageWriter::imageFormatsForMimeType(mimeType).contains(reader.format()));
        if (mimeType == "image/png" || mimeType == "image/bmp") {
            EXPECT_EQ(reader.read().convertToFormat(QImage::Format_RGB32), image);
        }
    }
}
