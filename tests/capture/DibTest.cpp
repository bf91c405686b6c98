// SPDX-License-Identifier: MIT
#include "capture/Dib.h"
#include "capture/ImageExport.h"

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The fixed 40-byte header, spelled in hex, with the width, height and image size written
// in as 32-bit little-endian values, then the rows (hex digit pairs, spaces skipped).
Bytes Dib(std::int32_t width, std::int32_t height, std::uint32_t sizeImage, std::string rows)
{
    std::string hex = "28000000 00000000 00000000 0100 1800 00000000 00000000 0000000000000000"
                      "0000000000000000"
        + rows;
    hex.erase(std::remove(hex.begin(), hex.end(), ' '), hex.end());
    Bytes dib;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        dib.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    const std::pair<std::size_t, std::uint32_t> fields[]
        = { { 4, std::uint32_t(width) }, { 8, std::uint32_t(height) }, { 20, sizeImage } };
    for (const auto& [at, value] : fields)
        for (std::size_t i = 0; i < 4; ++i)
            dib[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return dib;
}

} // namespace

TEST(BitmapToDib, WritesHeaderAndBottomUpPaddedBgrRows)
{
    // Width, the image's format, its pixels top-down, the DIB.
    const std::tuple<int, QImage::Format, std::vector<QRgb>, Bytes> cases[] = {
        { 3, QImage::Format_ARGB32,
            { 0xFF010203, 0xFF040506, 0xFF070809, 0xFF0A0B0C, 0xFF0D0E0F, 0xFF101112 },
            Dib(3, 2, 24,
                "0C0B0A 0F0E0D 121110 000000  030201 060504 090807 000000") }, // bottom row first
        { 5, QImage::Format_RGB888, { 0xA00001, 0xA00002, 0xA00003, 0xA00004, 0xA00005 },
            Dib(5, 1, 16, "0100A0 0200A0 0300A0 0400A0 0500A0 00") },
        { 4, QImage::Format_RGB32, { 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF },
            Dib(4, 1, 12, "0000FF 00FF00 FF0000 FFFFFF") }, // no padding
    };
    for (const auto& [width, format, pixels, expected] : cases) {
        QImage image(width, static_cast<int>(pixels.size()) / width, QImage::Format_RGB32);
        for (int i = 0; i < static_cast<int>(pixels.size()); ++i)
            image.setPixel(i % width, i / width, pixels[std::size_t(i)]);
        const Bytes dib = BitmapToDib(image.convertToFormat(format));
        EXPECT_EQ(dib, expected) << width;
        EXPECT_EQ(DibToImage(dib), image) << width; // back from the DIB, the same picture
    }
    EXPECT_TRUE(BitmapToDib(QImage()).empty());
    // A top-down DIB (height -2): the first row is the picture's top line.
    const QImage topDown = DibToImage(Dib(1, -2, 8, "010203 00 040506 00"));
    ASSERT_EQ(topDown.size(), QSize(1, 2));
    EXPECT_EQ(topDown.pixel(0, 0), qRgb(3, 2, 1));
    EXPECT_EQ(topDown.pixel(0, 1), qRgb(6, 5, 4));
}

TEST(DibToImage, RejectsMalformedBlocks)
{
    const Bytes good = Dib(3, 2, 24, std::string(48, '4'));
    ASSERT_FALSE(DibToImage(good).isNull());
    const std::pair<std::size_t, Bytes> patches[] = {
        // offset, bytes written there
        { 0, { 39 } }, { 0, { 0xFF } }, // header size below 40, beyond the block
        { 4, { 0, 0, 0, 0 } }, { 4, { 0xFD, 0xFF, 0xFF, 0xFF } },
        { 4, { 0xFF, 0xFF, 0xFF, 0x7F } }, // width
        { 8, { 0, 0, 0, 0 } }, { 8, { 0, 0, 0, 0x80 } },
        { 8, { 3 } }, // height 0, most negative, > the rows
        { 12, { 2 } }, { 14, { 32 } }, { 16, { 1 } }, // two planes, 32 bits, compressed
        { 20, { 23 } }, { 20, { 25 } },
        { 20, { 0xFF, 0xFF, 0xFF, 0xFF } }, // image size < rows, > block, wraps
    };
    for (const auto& [offset, bytes] : patches) {
        Bytes dib = good;
        std::copy(bytes.begin(), bytes.end(), dib.begin() + static_cast<std::ptrdiff_t>(offset));
        EXPECT_TRUE(DibToImage(dib).isNull()) << offset << ' ' << int(bytes[0]);
    }
    for (auto size : { 0, 20, 39, 40, 63 })
        EXPECT_TRUE(DibToImage(Bytes(good.begin(), good.begin() + size)).isNull()) << size;
}

TEST(ImageExport, FindEncoderAndFileExtension)
{
    const QList<QByteArray> encoders = QImageWriter::supportedMimeTypes();
    ASSERT_FALSE(encoders.isEmpty());
    for (qsizetype i = 0; i < encoders.size(); ++i) {
        QByteArray format;
        EXPECT_EQ(FindEncoder(encoders.at(i), &format), i) << encoders.at(i).constData();
        EXPECT_TRUE(QImageWriter::supportedImageFormats().contains(format));
    }
    for (const char* missing : { "", "image/", "image/PNG", "image/png ", "image/none" })
        EXPECT_EQ(FindEncoder(missing), -1) << missing;
    const char* const cases[][2]
        = { { "/t/Fotolot.png", "png" }, { "/t/s.PNG", "PNG" }, { "/t/a.b.jpeg", "jpeg" },
              { "/t/shot.", "" }, { "/t/shot", "" }, { "/t/dir.png/shot", "" } };
    for (const auto& c : cases)
        EXPECT_EQ(FileExtension(QString::fromUtf8(c[0])), QString::fromUtf8(c[1])) << c[0];
}

TEST(ImageExport, SaveDibAsImageEncodesWithTheLowerCasedWholeExtension)
{
    QTemporaryDir dir;
    QImage image(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            image.setPixel(x, y, qRgb(x * 30, y * 40, (x * 7 + y * 13) & 0xFF));
    // "jpeg" and "tiff" are taken whole and work wherever Qt has their encoder; "jpg" names
    // no MIME type.
    for (const QString extension : { "png", "PNG", "Png", "bmp", "jpeg", "JPEG", "tiff", "jpg" }) {
        const QByteArray mimeType = "image/" + extension.toLower().toLatin1();
        const bool available = FindEncoder(mimeType) >= 0;
        const QString path = dir.filePath("shot." + extension);
        const std::string trace = path.toStdString();
        EXPECT_EQ(SaveDibAsImage(path, extension, BitmapToDib(image)), available ? 1 : 0) << trace;
        ASSERT_EQ(QFile::exists(path), available) << trace;
        if (!available)
            continue;
        QImageReader reader(path);
        EXPECT_TRUE(QImageWriter::imageFormatsForMimeType(mimeType).contains(reader.format()))
            << trace;
        if (mimeType == "image/png" || mimeType == "image/bmp") { // lossless: DIB -> file -> pixels
            EXPECT_EQ(reader.read().convertToFormat(QImage::Format_RGB32), image) << trace;
        }
    }
}
