// SPDX-License-Identifier: MIT
#include "capture/Dib.h"

#include <QImage>

#include <cstdint>
#include <limits>
#include <new>

namespace {

// biSizeImage and the block size must fit a signed 32-bit count, as the header's sizes
// and the image libraries that read DIBs expect.
constexpr std::uint64_t kMaxBlockSize = std::numeric_limits<std::int32_t>::max();

void PutU16(std::vector<std::uint8_t>& block, std::size_t offset, std::uint16_t value)
{
    block[offset] = static_cast<std::uint8_t>(value & 0xFF);
    block[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::vector<std::uint8_t>& block, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        block[offset + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF);
}

// Reads n little-endian bytes at offset, or fails if they lie outside the block.
bool GetLE(const std::vector<std::uint8_t>& block, std::uint64_t offset, std::uint64_t n,
    std::uint32_t& value)
{
    const std::uint64_t size = block.size();
    if (offset > size || n > size - offset)
        return false;
    value = 0;
    for (std::uint64_t i = 0; i < n; ++i)
        value |= static_cast<std::uint32_t>(block[offset + i]) << (8 * i);
    return true;
}

std::int32_t AsSigned(std::uint32_t value)
{
    return value <= 0x7FFFFFFFu ? static_cast<std::int32_t>(value)
                                : -static_cast<std::int32_t>(~value) - 1;
}

} // namespace

std::uint64_t DibRowSize(std::uint64_t width)
{
    return (width * 24 + 31) / 32 * 4;
}

std::vector<std::uint8_t> BitmapToDib(const QImage& image)
{
    if (image.isNull())
        return {};
    const std::uint64_t width = static_cast<std::uint64_t>(image.width());
    const std::uint64_t height = static_cast<std::uint64_t>(image.height());
    const std::uint64_t rowSize = DibRowSize(width);
    const std::uint64_t imageSize = rowSize * height;
    if (imageSize > kMaxBlockSize - kDibHeaderSize)
        return {};

    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull())
        return {};

    std::vector<std::uint8_t> block;
    try {
        block.assign(kDibHeaderSize + imageSize, 0);
    } catch (const std::bad_alloc&) {
        return {};
    }
    PutU32(block, 0, static_cast<std::uint32_t>(kDibHeaderSize));
    PutU32(block, 4, static_cast<std::uint32_t>(width));
    PutU32(block, 8, static_cast<std::uint32_t>(height));
    PutU16(block, 12, 1);
    PutU16(block, 14, 24);
    PutU32(block, 16, 0);
    PutU32(block, 20, static_cast<std::uint32_t>(imageSize));
    // biXPelsPerMeter, biYPelsPerMeter, biClrUsed and biClrImportant stay 0.

    for (std::uint64_t row = 0; row < height; ++row) {
        // The first DIB row is the picture's bottom line.
        const auto* line = reinterpret_cast<const QRgb*>(
            pixels.constScanLine(static_cast<int>(height - 1 - row)));
        std::uint8_t* out = block.data() + kDibHeaderSize + row * rowSize;
        for (std::uint64_t x = 0; x < width; ++x) {
            const QRgb pixel = line[x];
            *out++ = static_cast<std::uint8_t>(qBlue(pixel));
            *out++ = static_cast<std::uint8_t>(qGreen(pixel));
            *out++ = static_cast<std::uint8_t>(qRed(pixel));
        }
    }
    return block;
}

QImage DibToImage(const std::vector<std::uint8_t>& dib)
{
    std::uint32_t headerSize = 0, widthField = 0, heightField = 0, planes = 0, bitCount = 0,
                  compression = 0, imageSizeField = 0;
    if (!GetLE(dib, 0, 4, headerSize) || !GetLE(dib, 4, 4, widthField)
        || !GetLE(dib, 8, 4, heightField) || !GetLE(dib, 12, 2, planes)
        || !GetLE(dib, 14, 2, bitCount) || !GetLE(dib, 16, 4, compression)
        || !GetLE(dib, 20, 4, imageSizeField))
        return {};
    // A later header version (108 or 124 bytes) may stand in for the 40-byte one; the
    // pixels follow whichever header is there.
    if (headerSize < kDibHeaderSize || headerSize > dib.size())
        return {};
    if (planes != 1 || bitCount != 24 || compression != 0)
        return {};

    const std::int32_t width = AsSigned(widthField);
    const std::int32_t signedHeight = AsSigned(heightField);
    // A negative height means top-down rows; the most negative value has no magnitude.
    if (width <= 0 || signedHeight == 0 || signedHeight == std::numeric_limits<std::int32_t>::min())
        return {};
    const bool bottomUp = signedHeight > 0;
    const std::uint64_t height
        = static_cast<std::uint64_t>(bottomUp ? signedHeight : -signedHeight);

    const std::uint64_t rowSize = DibRowSize(static_cast<std::uint64_t>(width));
    const std::uint64_t needed = rowSize * height;
    const std::uint64_t available = dib.size() - std::uint64_t { headerSize };
    if (needed > available)
        return {};
    if (imageSizeField != 0 && (imageSizeField < needed || imageSizeField > available))
        return {};

    QImage image(width, static_cast<int>(height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (std::uint64_t row = 0; row < height; ++row) {
        const std::uint8_t* in = dib.data() + headerSize + row * rowSize;
        const std::uint64_t line = bottomUp ? height - 1 - row : row;
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(line)));
        for (std::int32_t x = 0; x < width; ++x, in += 3)
            out[x] = qRgb(in[2], in[1], in[0]);
    }
    return image;
}
