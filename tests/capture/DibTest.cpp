// SPDX-License-Identifier: MIT
#include "capture/Dib.h"

#include <QImage>
#include <gtest/gtest.h>

#include "tests/catalogue/ExifTestFiles.h"

TEST(Dib, BottomUpPaddedBgrRowsBothWaysAndMalformedBlocksRejected)
{
    // A 3 x 2 picture. Its DIB: the 40-byte header field by field (size 40, width, height,
    // 1 plane, 24 bits, no compression, image size, then four zero fields), then the bottom
    // row first, each pixel blue, green, red, each row padded to 4 bytes.
    const QRgb pixels[]
        = { 0xFF010203, 0xFF040506, 0xFF070809, 0xFF0A0B0C, 0xFF0D0E0F, 0xFF101112 };
    QImage image(3, 2, QImage::Format_RGB32);
    for (int i = 0; i < 6; ++i)
        image.setPixel(i % 3, i / 3, pixels[i]);
    const Bytes good = Hex("28000000 03000000 02000000 0100 1800 00000000 18000000 00000000"
                           " 00000000 00000000 00000000"
                           " 0C0B0A 0F0E0D 121110 000000  030201 060504 090807 000000");
    EXPECT_EQ(BitmapToDib(image.convertToFormat(QImage::Format_ARGB32)), good);
    EXPECT_EQ(DibToImage(good), image); // back from the DIB, the same picture
    EXPECT_TRUE(BitmapToDib(QImage()).empty());
    // Malformed blocks give no picture: a header size below 40, a negative width, a height
    // beyond the rows, an image size that wraps (offset, bytes written there), and blocks cut
    // short.
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
