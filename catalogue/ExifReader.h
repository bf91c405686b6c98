// SPDX-License-Identifier: MIT
// Reads camera name, lens, date and time taken, f-number, focal length, 35 mm-equivalent
// focal length, ISO, exposure time and file size from the first 32,768 bytes of a JPEG
// file whose first segment is EXIF, or of a TIFF file. Other containers (HEIF, HEIC,
// AVIF, CR3, RAF, MRW) are tried only when neither of those is found; when their EXIF
// block lies beyond the first bytes, one more read of at most 64 KiB fetches it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/PhotoCatalogue.h"
#include "catalogue/PhotoContainer.h"

constexpr std::size_t kExifReadSize = 32768;
// The second read's bytes go to this offset of the buffer.
constexpr std::size_t kSecondReadAt = kExifReadSize;
// A read buffer: the file's first kExifReadSize bytes, then the second read's at most
// 64 KiB. A JPEG or TIFF file never touches the second part's pages.
constexpr std::size_t kFileStartBufferSize = kExifReadSize + 65536;

// What the reads of a file gave; the bytes themselves are in the caller's buffer.
struct FileStart {
    std::size_t size = 0; // bytes read from the file's start, 1 to kExifReadSize
    std::uint64_t length = 0; // the file's length in bytes
    std::uint64_t device = 0; // the file system's device number (st_dev)
    // Why the read gave no bytes to parse, when it did not; a reader that does not say
    // leaves SkipUnreadable.
    SkipReason reason = SkipUnreadable;
    int error = 0; // errno of the open, stat or read that failed
    std::uint64_t secondOffset = 0; // where in the file the second read started
    std::size_t secondSize = 0; // bytes it gave, at buffer + kSecondReadAt; 0: none
    // Whether LocateExif has looked at the bytes, and the container's EXIF blocks it found
    // (none for a JPEG or TIFF start), so that the parse need not look for them again.
    bool located = false;
    ContainerExif container;
};

// Looks at the first start.size bytes of a file of start.length bytes: records in start
// where the EXIF blocks of another container lie (never for a JPEG or TIFF start). Returns
// true, with offset and readLength (at most 64 KiB), when one of them lies (partly)
// beyond those bytes and wants a second read.
bool LocateExif(
    const std::uint8_t* buffer, FileStart& start, std::uint64_t& offset, std::size_t& readLength);

// The reader's I/O, on the calling thread: one open without blocking (so that a FIFO
// cannot stall it; folder by folder for a path longer than one system call takes, see
// OpenAnyLength), the regular-file check and the length (fstat), one read of at most
// kExifReadSize bytes into buffer (short reads continued, interruptions retried), where
// LocateExif asks for it one positioned read into buffer + kSecondReadAt, one close.
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
