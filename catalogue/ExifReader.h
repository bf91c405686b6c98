// SPDX-License-Identifier: MIT
// Reads camera name, lens, date and time taken, f-number, focal length, 35 mm-equivalent
// focal length, ISO, exposure time and file size from the first 32,768 bytes of a JPEG
// file whose first segment is EXIF, or of a TIFF file. Other containers (HEIF, HEIC,
// AVIF, CR3, PNG, WebP, JPEG XL, RAF, MRW) are tried only when neither of those is found;
// when their EXIF block lies beyond the first bytes, up to three more positioned reads
// follow the boxes or chunks to it and fetch it. A TIFF file whose IFD0 or EXIF directory
// lies beyond them gets up to two more reads of those, whose values only the expanded
// window uses (PhotoExtras).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/PhotoCatalogue.h"
#include "catalogue/PhotoContainer.h"

constexpr std::size_t kExifReadSize = 32768;
// Reads of one file at most, the first included: a JPEG, or a TIFF file whose directories
// lie in its first bytes, takes one.
constexpr int kMaxFileReads = 4;
// A read buffer: the file's first kExifReadSize bytes, then two areas of
// kExifBlockReadSize bytes, one for each EXIF block of a container (or each directory of
// a TIFF file read past the first bytes). A JPEG or TIFF file whose directories lie in its
// first bytes never touches the areas' pages. Boxes read whole to find a block (up to
// kBoxReadSize) go to a buffer of the reading thread's own, not to this one.
constexpr std::size_t kBlockAreaAt = kExifReadSize;
constexpr std::size_t kFileStartBufferSize = kExifReadSize + 2 * kExifBlockReadSize;

// Bytes of the file held in the read buffer, beyond the first read.
struct HeldBytes {
    std::uint64_t fileOffset = 0;
    std::size_t at = 0; // position in the buffer
    std::size_t size = 0;
};

// A container's EXIF block as held in the read buffer: in place in the first read when it
// lies wholly there, else copied together (all its extents) into an area.
struct HeldBlock {
    ExifBlockKind kind = ExifBlockKind::TiffImage;
    std::size_t at = 0; // position in the buffer
    std::size_t size = 0;
};

// What the reads of a file gave; the bytes themselves are in the caller's buffer.
struct FileStart {
    std::size_t size = 0; // bytes read from the file's start, 1 to kExifReadSize
    std::uint64_t length = 0; // the file's length in bytes
    std::uint64_t device = 0; // the file system's device number (st_dev)
    // Why the file gives no photo, when it does not: the read gave no bytes to parse (a
    // reader that does not say leaves SkipUnreadable), or, once read, SkipNoExif or
    // SkipTooLarge.
    SkipReason reason = SkipUnreadable;
    int error = 0; // errno of the open, stat or read that failed
    int reads = 0; // positioned reads made, the first included
    // Whether ReadFurther has looked at the bytes: a container's blocks are then the ones
    // below (none for a JPEG or TIFF start), so that the parse need not look for them.
    bool located = false;
    std::size_t blockCount = 0;
    HeldBlock blocks[2];
    // A TIFF file's IFD0 and EXIF directory where they lie past the first read, up to
    // kExifBlockReadSize bytes from each: for the expanded window only.
    std::size_t pieceCount = 0;
    HeldBytes pieces[2];
};

// Positioned reads of one open file.
class FileReads {
public:
    virtual ~FileReads() = default;
    // Reads up to n bytes at offset into out; returns how many it gave (fewer at the end
    // of the file, 0 on an error).
    virtual std::size_t Read(std::uint64_t offset, std::uint8_t* out, std::size_t n) = 0;
};

// After the first read (start.size bytes at buffer, start.length set): makes the further
// reads the file needs through reads, at most kMaxFileReads in all, and records in start
// where its EXIF blocks (or a TIFF file's far directories) are held in buffer. A JPEG, and
// a TIFF file whose directories lie in the first bytes, need none. A container's box that
// has to be read whole and is larger than kBoxReadSize, or a split Exif item of more than
// kExifBlockReadSize bytes, leaves start.reason SkipTooLarge.
void ReadFurther(FileReads& reads, std::uint8_t* buffer, FileStart& start);

// The bytes of a file held in memory as FileReads.
class MemoryReads : public FileReads {
public:
    MemoryReads(const std::uint8_t* data, std::uint64_t size)
        : m_data(data)
        , m_size(size)
    {
    }
    std::size_t Read(std::uint64_t offset, std::uint8_t* out, std::size_t n) override;

private:
    const std::uint8_t* m_data;
    std::uint64_t m_size;
};

// The first read and ReadFurther over a file held in memory, as ReadFileStart makes them
// of a file on the disk.
void ReadMemoryStart(
    const std::uint8_t* data, std::uint64_t size, std::uint8_t* buffer, FileStart& start);

// The reader's I/O, on the calling thread: one open without blocking (so that a FIFO
// cannot stall it; folder by folder for a path longer than one system call takes, see
// OpenAnyLength), the regular-file check and the length (fstat), one read of at most
// kExifReadSize bytes into buffer (short reads continued, interruptions retried), the
// further reads of ReadFurther, one close.
// buffer holds kFileStartBufferSize bytes. Returns false, start unspecified but for
// start.reason, when the file cannot be opened (SkipPathTooLong when its path or a name
// in it is too long, else SkipUnreadable), is not a regular file (SkipNotRegularFile),
// cannot be read (SkipUnreadable) or is empty (SkipNoExif).
bool ReadFileStart(const std::string& path, std::uint8_t* buffer, FileStart& start);

// The reader's parsing: fills record from the bytes ReadFileStart gave for path (path
// copied, size in MB from start.length) and returns true, or returns false and leaves
// the record untouched when the bytes have no TIFF byte-order mark at byte 12 or 0 and
// are no other container with a readable TIFF block.
bool ParsePhoto(const std::string& path, const std::uint8_t* buffer, const FileStart& start,
    PhotoRecord& record);

// ReadFileStart, then ParsePhoto: fills record from the file at path and returns true, or
// returns false and leaves the record untouched (file not a readable regular file, empty,
// or no TIFF byte-order mark at byte 12 or byte 0).
bool ReadPhoto(const std::string& path, PhotoRecord& record);

// Parses the bytes read (size of them, at most kExifReadSize). Returns false only when
// there is no byte-order mark; everything lying outside the bytes is skipped.
bool ParseExif(PhotoRecord& record, const std::uint8_t* buffer, std::size_t size);

// The date and time of an EXIF date text, "YYYY:MM:DD HH:MM:SS" exactly (19 characters),
// as the number YYYYMMDDhhmmss; 0 when any field is not digits or out of its range
// (year 1 to 9999, month 1 to 12, day within its month, leap years counted, hour 0 to
// 23, minute and second 0 to 59).
std::int64_t ParseExifDateTime(std::string_view text);

// Looks for the first maker of the maker list in text and re-cases it: in whole mode
// (inPlace false) the text becomes the maker's name, in place only the found occurrence
// is re-cased. Returns false and leaves the text unchanged if no maker occurs.
bool NormaliseMaker(std::string& text, bool inPlace);

// Assemble 16- and 32-bit unsigned values from bytes, most significant first when
// bigEndian. The caller has checked that the bytes lie inside the buffer.
std::uint16_t ReadU16(const std::uint8_t* p, bool bigEndian);
std::uint32_t ReadU32(const std::uint8_t* p, bool bigEndian);

// The size in units of 1,048,576 bytes, rounded to one decimal as printf rounds.
double FileSizeMb(std::uint64_t bytes);
