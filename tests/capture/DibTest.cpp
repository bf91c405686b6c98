// SPDX-License-Identifier: MIT
#include "capture/Dib.h"

#include <QImage>
#include <gtest/gtest.h>

#include "tests/catalogue/ExifTestFiles.h"

// The DIBs below spell their 40-byte header field by field: size 40, width, height,
// 1 plane, 24 bits, no compression, image size, then four zero fields.
namespace {
const std::string kZeros = " 00000000 00000000 00000000 00000000 ";

} // namespace

TEST(Dib, BottomUpPaddedBgrRowsBothWaysAndMalformedBlocksRejected)
{
    // Width, the image's format, its pixels top-down, the DIB.
    const std::tuple<int, QImage::Format, std::vector<QRgb>, Bytes> cases[] = {
        { 3, QImage::Format_ARGB32,
            { 0xFF010203, 0xFF040506, 0xFF070809, 0xFF0A0B0C, 0xFF0D0E0F, 0xFF101112 },
            Hex("28000000 03000000 02000000 0100 1800 00000000 18000000" + kZeros
                + "0C0B0A 0F0E0D 121110 000000  030201 060504 090807 000000") }, // bottom row first
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
    // Malformed blocks give no picture: a header size below 40, a negative width, a height
    // beyond the rows, an image size that wraps (offset, bytes written there), and blocks cut
    // short.
    const Bytes& good = std::get<3>(cases[0]);
    const std::pair<std::size_t, Bytes> patches[] = { { 0, { 39 } },
        { 4, { 0xFD, 0xFF, 0xFF, 0xFF } }, { 8, { 3 } }, { 20, { 0xFF, 0xFF, 0xFF, 0xFF } } };
    for (const auto& [offset, bytes] : patches) {
        Bytes dib = good;
        std::copy(bytes.begin(), bytes.end(), dib.begin() + static_cast<std::ptrdiff_t>(offset));
        EXPECT_TRUE(DibToImage(dib).isNull()) << offset << ' ' << int(bytes[0]);
    }
    for (auto size : { 0, 39, 63 })
        EXPECT_TRUE(DibToImage(Bytes(good.begin(), good.begin() + size)).isNull()) << size;
}
