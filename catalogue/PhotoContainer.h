// SPDX-License-Identifier: MIT
// Finds the EXIF data of photo containers that do not begin with a TIFF header or a JPEG
// EXIF segment: ISO base media files (HEIF, HEIC, AVIF), Canon CR3, Fujifilm RAF and
// Minolta MRW. Pure functions over the bytes read from the start of a file and the file's
// length: they say where in the file the TIFF block (or the JPEG that holds it) lies, and
// never read outside the bytes they are given.
#pragma once

#include <cstddef>
#include <cstdint>

// What a located block holds, and so how its TIFF header is found and which directory
// its header names first.
enum class ExifBlockKind : std::uint8_t {
    TiffImage, // a TIFF block from its header on; the first directory is IFD0
    TiffExif, // a TIFF block whose first directory is the EXIF directory (CR3's CMT2)
    HeifItem, // an ISO media "Exif" item: 4-byte offset, then a TIFF block (below)
    Jpeg, // a JPEG stream whose first segment should be EXIF (RAF's preview)
};

// A block's place in the file, in bytes; length may reach beyond what was read.
struct ExifBlock {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    ExifBlockKind kind = ExifBlockKind::TiffImage;
};

// At most two blocks a file: CR3 keeps IFD0 and the EXIF directory in separate ones.
struct ContainerExif {
    std::size_t count = 0;
    ExifBlock blocks[2];
};

// The most bytes a second read of a file fetches.
constexpr std::size_t kExifSecondReadSize = 65536;

// Recognises the container by its signature in bytes (size of them, read from the file's
// start; fileLength is the file's length) and fills out with its EXIF blocks. Returns
// false when the bytes are none of these containers, or the container names no EXIF block
// that lies inside the file.
bool FindContainerExif(
    const std::uint8_t* bytes, std::size_t size, std::uint64_t fileLength, ContainerExif& out);

// The one further read that brings the blocks not wholly inside the first size bytes of
// the file: from the first such block's offset, at most kExifSecondReadSize bytes. Returns
// false when every block lies inside the bytes read already.
bool SecondReadRange(
    const ContainerExif& exif, std::size_t size, std::uint64_t& offset, std::size_t& length);

// Where the TIFF header of a block of kind lies within its bytes (size of them, read from
// the block's start): 0 for TIFF blocks, past the item's offset field for HEIF items,
// byte 12 of a JPEG whose first segment is EXIF. Returns false when the bytes do not tell
// or the place lies outside them.
bool TiffHeaderInBlock(
    const std::uint8_t* bytes, std::size_t size, ExifBlockKind kind, std::size_t& base);
