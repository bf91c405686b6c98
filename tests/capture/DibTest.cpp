// SPDX-License-Identifier: MIT
#include "capture/Dib.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The fixed 40-byte header with the three fields that vary written out by hand.
Bytes Header(std::uint8_t width, std::uint8_t height, std::uint8_t sizeImage)
{
    return {0x28, 0, 0, 0,  width, 0, 0, 0,  height, 0, 0, 0,  1, 0,  24, 0,  0, 0, 0, 0,
            sizeImage, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0};
}

Bytes Concat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

QImage MakeImage(int width, int height, const std::vector<QRgb>& topDownPixels,
                 QImage::Format format)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, topDownPixels[static_cast<std::size_t>(y * width + x)]);
    return image.convertToFormat(format);
}

struct DibCase {
    const char* name;
    int width;
    int height;
    QImage::Format format;
    std::vector<QRgb> pixels;
    Bytes expected;
};

} // namespace

TEST(BitmapToDib, WritesHeaderAndBottomUpPaddedBgrRows)
{
    const std::vector<DibCase> cases = {
        {"1x1", 1, 1, QImage::Format_RGB32, {0x112233},
         Concat(Header(1, 1, 4), {0x33, 0x22, 0x11, 0})},
        {"3x2: bottom row first, 3 padding bytes", 3, 2, QImage::Format_ARGB32,
         {0xFF010203, 0xFF040506, 0xFF070809, 0xFF0A0B0C, 0xFF0D0E0F, 0xFF101112},
         Concat(Header(3, 2, 24), {0x0C, 0x0B, 0x0A, 0x0F, 0x0E, 0x0D, 0x12, 0x11, 0x10, 0, 0, 0,
                                   0x03, 0x02, 0x01, 0x06, 0x05, 0x04, 0x09, 0x08, 0x07, 0, 0, 0})},
        {"5x1: 1 padding byte", 5, 1, QImage::Format_RGB888,
         {0xA00001, 0xA00002, 0xA00003, 0xA00004, 0xA00005},
         Concat(Header(5, 1, 16), {0x01, 0x00, 0xA0, 0x02, 0x00, 0xA0, 0x03, 0x00, 0xA0, 0x04,
                                   0x00, 0xA0, 0x05, 0x00, 0xA0, 0})},
        {"4x1: no padding", 4, 1, QImage::Format_RGB32,
         {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
         Concat(Header(4, 1, 12), {0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF})},
    };
    for (const DibCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QImage image = MakeImage(c.width, c.height, c.pixels, c.format);
        const Bytes dib = BitmapToDib(image);
        EXPECT_EQ(dib, c.expected);
        // Back from the DIB, the picture is the same.
        EXPECT_EQ(DibToImage(dib), image.convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_TRUE(BitmapToDib(QImage()).empty());
}

TEST(DibToImage, ReadsTopDownRows)
{
    // 1x2, top-down (height -2), so the first row is the picture's top line.
    Bytes topDown = Header(1, 0xFE, 8);
    topDown[9] = topDown[10] = topDown[11] = 0xFF;
    topDown = Concat(topDown, {1, 2, 3, 0, 4, 5, 6, 0});
    const QImage image = DibToImage(topDown);
    ASSERT_EQ(image.size(), QSize(1, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(3, 2, 1));
    EXPECT_EQ(image.pixel(0, 1), qRgb(6, 5, 4));
}

TEST(DibToImage, RejectsMalformedBlocks)
{
    const Bytes good = Concat(Header(3, 2, 24), Bytes(24, 0x40));
    ASSERT_FALSE(DibToImage(good).isNull());

    struct Patch {
        const char* name;
        std::size_t offset;
        Bytes bytes;
    };
    const std::vector<Patch> patches = {
        {"header size below 40", 0, {39, 0, 0, 0}},
        {"header size beyond the block", 0, {0xFF, 0, 0, 0}},
        {"zero width", 4, {0, 0, 0, 0}},
        {"negative width", 4, {0xFD, 0xFF, 0xFF, 0xFF}},
        {"huge width", 4, {0xFF, 0xFF, 0xFF, 0x7F}},
        {"zero height", 8, {0, 0, 0, 0}},
        {"most negative height", 8, {0, 0, 0, 0x80}},
        {"more rows than bytes", 8, {3, 0, 0, 0}},
        {"two planes", 12, {2, 0}},
        {"32 bits per pixel", 14, {32, 0}},
        {"compressed", 16, {1, 0, 0, 0}},
        {"image size below the rows", 20, {23, 0, 0, 0}},
        {"image size beyond the block", 20, {25, 0, 0, 0}},
        {"image size wraps", 20, {0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Patch& p : patches) {
        SCOPED_TRACE(p.name);
        Bytes dib = good;
        std::copy(p.bytes.begin(), p.bytes.end(), dib.begin() + static_cast<std::ptrdiff_t>(p.offset));
        EXPECT_TRUE(DibToImage(dib).isNull());
    }

    for (std::size_t size : {std::size_t{0}, std::size_t{20}, std::size_t{39}, std::size_t{40},
                             good.size() - 1}) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(DibToImage(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size))).isNull());
    }
}
