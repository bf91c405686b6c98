// SPDX-License-Identifier: MIT
// The packed 24-bit device-independent bitmap (DIB): a 40-byte BITMAPINFOHEADER directly
// followed by the pixel rows, without a colour table. Every field is little-endian:
//
//   offset size field            value
//        0    4 biSize           40
//        4    4 biWidth          width in pixels
//        8    4 biHeight         height in pixels; positive, so the rows run bottom-up
//       12    2 biPlanes         1
//       14    2 biBitCount       24
//       16    4 biCompression    0 (BI_RGB)
//       20    4 biSizeImage      row size x height, in bytes
//       24    4 biXPelsPerMeter  0
//       28    4 biYPelsPerMeter  0
//       32    4 biClrUsed        0
//       36    4 biClrImportant   0
//       40      pixel rows: blue, green, red bytes per pixel, each row padded with zero
//               bytes to a multiple of 4 bytes
//
// The block is 40 + biSizeImage bytes long.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class QImage;

constexpr std::size_t kDibHeaderSize = 40;

// Bytes in one pixel row of a 24-bit DIB of the given width: 3 per pixel, rounded up to a
// multiple of 4.
std::uint64_t DibRowSize(std::uint64_t width);

// The packed 24-bit DIB of image (alpha is dropped). Empty if the image is null or too
// large for a DIB's 32-bit sizes.
std::vector<std::uint8_t> BitmapToDib(const QImage& image);

// The picture a packed 24-bit BI_RGB DIB holds, read through checked accessors; a null
// image if the block is malformed: header fields out of range, or sizes that do not fit
// the block.
QImage DibToImage(const std::vector<std::uint8_t>& dib);
