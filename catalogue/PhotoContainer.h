// SPDX-License-Identifier: MIT
// Finds the EXIF data of photo files that do not begin with a TIFF header or a JPEG EXIF
// segment: ISO base media files (HEIF, HEIC, AVIF), Canon CR3, JPEG XL in its container
// form, PNG, WebP, Fujifilm RAF and Minolta MRW. Pure functions over the pieces of a file
// read so far and the file's length: they say where in the file the TIFF block (or the
// JPEG that holds it) lies, or which bytes they would have to see to tell, and never read
// outside the pieces they are given.
#pragma once

#include <cstddef>
#include <cstdint>

// What a located block holds, and so how its TIFF header is found and which directory
// its header names first.
enum class ExifBlockKind : std::uint8_t {
    TiffImage, // a TIFF block from its header on; the first directory is IFD0
    TiffExif, // a TIFF block whose first directory is the EXIF directory (CR3's CMT2)
    HeifItem, // an ISO media "Exif" item or JPEG XL "Exif" box: 4-byte offset, then TIFF
    Jpeg, // a JPEG stream whose first segment should be EXIF (RAF's preview)
    TiffOrExifId, // a TIFF block, or "Exif\0\0" and then one (PNG's eXIf, WebP's EXIF)
};

// One contiguous run of a block's bytes in the file.
struct FileExtent {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// The most pieces an Exif item may come in; one of more is skipped as too large.
constexpr std::size_t kMaxExtents = 8;

// A block's place in the file, in bytes: its extents in order, which together are the
// block. A length may reach beyond what was read.
struct ExifBlock {
    ExifBlockKind kind = ExifBlockKind::TiffImage;
    std::size_t extentCount = 0;
    FileExtent extents[kMaxExtents];
};

// At most two blocks a file: CR3 keeps IFD0 and the EXIF directory in separate ones.
struct ContainerExif {
    std::size_t count = 0;
    ExifBlock blocks[2];
};

// The most bytes of one block the reader keeps: a block of one extent is cut to this, a
// block of several that holds more is skipped as too large.
constexpr std::size_t kExifBlockReadSize = 65536;
// The most bytes a positioned read of a box (meta, moov, a uuid box) fetches; a box that
// must be read whole and is larger is skipped as too large.
constexpr std::size_t kBoxReadSize = 262144;
// What a read made only to find the next box or chunk header fetches.
constexpr std::size_t kHeaderReadSize = 65536;

// A piece of the file held in memory, at its file offset.
struct FileWindow {
    std::uint64_t offset = 0;
    const std::uint8_t* data = nullptr;
    std::uint64_t size = 0;
};

// The pieces read so far: the file's first bytes, then the further reads in their order.
constexpr std::size_t kMaxWindows = 4;
struct FileWindows {
    FileWindow window[kMaxWindows];
    std::size_t count = 0;

    // The n bytes at file offset off, from the first piece that holds all of them; null
    // when none does.
    const std::uint8_t* Field(std::uint64_t off, std::uint64_t n) const;
};

enum class LocateOutcome {
    Found, // out holds the blocks; their bytes may still lie outside the pieces
    None, // not one of these containers, or it names no EXIF block inside the file
    NeedRead, // the bytes at readOffset, readLength of them, would tell more
    TooLarge, // the box that would have to be read whole, or a split item, is too large
};

struct LocateResult {
    LocateOutcome outcome = LocateOutcome::None;
    std::uint64_t readOffset = 0;
    std::size_t readLength = 0;
};

// Recognises the container by its signature in the first piece (read from the file's
// start; fileLength is the file's length) and fills out with its EXIF blocks, following
// boxes and chunks through the pieces. When it needs bytes that no piece holds (a box
// header past the bytes read, a box to read whole, a PNG's last bytes), it says which.
LocateResult LocateContainerExif(
    const FileWindows& windows, std::uint64_t fileLength, ContainerExif& out);

// The one piece of the file, at most kBoxReadSize bytes, that brings block's bytes (at
// most kExifBlockReadSize of a block of one extent) that no piece of windows holds yet.
// Returns false when the pieces hold them all; fails (TooLarge) for a block of several
// extents holding more than kExifBlockReadSize bytes.
LocateResult BlockBytesNeeded(const FileWindows& windows, const ExifBlock& block);

// Copies block's bytes (as BlockBytesNeeded bounds them) from the pieces into out, which
// holds kExifBlockReadSize bytes; returns how many, stopping at the first byte no piece
// holds.
std::size_t CopyBlockBytes(const FileWindows& windows, const ExifBlock& block, std::uint8_t* out);

// Where the TIFF header of a block of kind lies within its bytes (size of them, read from
// the block's start): 0 for TIFF blocks, past the item's offset field for HEIF items,
// byte 12 of a JPEG whose first segment is EXIF. Returns false when the bytes do not tell
// or the place lies outside them.
bool TiffHeaderInBlock(
    const std::uint8_t* bytes, std::size_t size, ExifBlockKind kind, std::size_t& base);
