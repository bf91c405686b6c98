// SPDX-License-Identifier: MIT
#include "catalogue/ExifReader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "catalogue/LongPath.h"
#include "catalogue/MakerNotes.h"
#include "catalogue/PhotoCatalogue.h"
#include "catalogue/PhotoContainer.h"
#include "catalogue/XmpLens.h"

namespace {

// Layout read, all integers in the byte order of the mark:
//
//   file:  FF D8 FF E1 len len 'E' 'x' 'i' 'f' 00 00 | TIFF header ...   (base 12)
//      or: TIFF header ...                                               (base 0)
//   TIFF header at base:  'II' or 'MM' | magic (2, not examined) | IFD0 offset (4)
//   directory at base + offset:  N (2) | N entries of 12 bytes
//   entry:  tag (2) | type (2) | count (4) | value or offset (4; ISO in its first 2)
//   text at base + offset:  characters up to a NUL
//   rational at base + offset:  numerator (4) | denominator (4)
// Every offset in the file counts from base. Other containers hold the same TIFF block
// (see PhotoContainer.h); CR3's second one starts with the EXIF directory instead of IFD0.

constexpr std::uint16_t kTagMake = 0x010F;
constexpr std::uint16_t kTagModel = 0x0110;
constexpr std::uint16_t kTagExifIfd = 0x8769;
constexpr std::uint16_t kTagExposureTime = 0x829A;
constexpr std::uint16_t kTagFNumber = 0x829D;
constexpr std::uint16_t kTagIso = 0x8827;
constexpr std::uint16_t kTagFocalLength = 0x920A;
constexpr std::uint16_t kTagDateTime = 0x0132; // IFD0, ASCII "YYYY:MM:DD HH:MM:SS"
constexpr std::uint16_t kTagDateTimeOriginal = 0x9003; // EXIF directory, the same form
constexpr std::uint16_t kTagFocal35 = 0xA405; // SHORT, millimetres
constexpr std::uint16_t kTagLensModel = 0xA434; // ASCII
constexpr std::uint16_t kTagPixelWidth = 0xA002; // SHORT or LONG, pixels
constexpr std::uint16_t kTagPixelHeight = 0xA003; // SHORT or LONG, pixels
constexpr std::uint16_t kTagFocalPlaneX = 0xA20E; // RATIONAL, pixels per unit
constexpr std::uint16_t kTagFocalPlaneY = 0xA20F; // RATIONAL, pixels per unit
constexpr std::uint16_t kTagFocalPlaneUnit = 0xA210; // SHORT
constexpr std::uint16_t kTypeShort = 3;
// Panasonic's RW2 files (TIFF magic 0x55) keep the ISO in IFD0.
constexpr std::uint16_t kTagRw2Iso = 0x0017;
constexpr std::uint16_t kRw2Magic = 0x0055;

constexpr std::size_t kEntrySize = 12;
// Make and model texts keep at most this many characters.
constexpr std::size_t kMaxTextLength = 127;

// The bytes read and their byte order. Offsets are 64-bit: base (at most 12) plus a
// 32-bit file offset plus a few bytes can never wrap.
struct ExifBytes {
    const std::uint8_t* data;
    std::uint64_t size;
    std::uint64_t base;
    bool bigEndian;
    // Further pieces of a TIFF file (base 0), at their file offsets; null for the bytes of
    // one read.
    const FileWindows* more = nullptr;

    // The one way to reach a field: n bytes at off, or null when any of them lies
    // outside the bytes read.
    const std::uint8_t* Field(std::uint64_t off, std::uint64_t n) const
    {
        if (off <= size && n <= size - off)
            return data + off;
        return more != nullptr ? more->Field(off, n) : nullptr;
    }

    // The bytes from off to the end of the piece that holds off; 0 when none does.
    std::uint64_t Available(std::uint64_t off) const
    {
        if (off < size)
            return size - off;
        for (std::size_t i = 0; more != nullptr && i < more->count && i < kMaxWindows; ++i) {
            const FileWindow& w = more->window[i];
            if (off >= w.offset && off - w.offset < w.size)
                return w.size - (off - w.offset);
        }
        return 0;
    }

    bool U16(std::uint64_t off, std::uint16_t& out) const
    {
        const std::uint8_t* p = Field(off, 2);
        if (p == nullptr)
            return false;
        out = ReadU16(p, bigEndian);
        return true;
    }

    bool U32(std::uint64_t off, std::uint32_t& out) const
    {
        const std::uint8_t* p = Field(off, 4);
        if (p == nullptr)
            return false;
        out = ReadU32(p, bigEndian);
        return true;
    }

    // The text of the n bytes at off, up to its first NUL, as a view of the bytes read.
    bool TextAt(std::uint64_t off, std::size_t n, std::string_view& out) const
    {
        const std::uint8_t* p = Field(off, n);
        if (p == nullptr)
            return false;
        const void* nul = std::memchr(p, 0, n);
        const std::size_t length
            = nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - p) : n;
        out = std::string_view(reinterpret_cast<const char*>(p), length);
        return true;
    }

    // The NUL-terminated text at base + value, cut to kMaxTextLength characters, as a view
    // of the bytes read. A text whose NUL is not inside the bytes read is not taken.
    bool Text(std::uint32_t value, std::string_view& out) const
    {
        const std::uint64_t off = base + value;
        const std::uint8_t* p = Field(off, 1);
        if (p == nullptr)
            return false;
        const std::uint64_t available = Available(off);
        const void* nul = std::memchr(p, 0, static_cast<std::size_t>(available));
        if (nul == nullptr)
            return false;
        std::size_t length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - p);
        out = std::string_view(reinterpret_cast<const char*>(p), std::min(length, kMaxTextLength));
        return true;
    }

    // The text of the entry at entry, whose value field holds value. TIFF keeps a text of
    // at most 4 bytes, its NUL counted, in the entry's own value field (bytes 8-11), left
    // aligned; a longer one at base + value.
    bool EntryText(std::uint64_t entry, std::uint32_t value, std::string_view& out) const
    {
        std::uint32_t count = 0;
        if (!U32(entry + 4, count))
            return false;
        return count <= 4 ? TextAt(entry + 8, count, out) : Text(value, out);
    }

    // The same text as a string of its own.
    bool EntryText(std::uint64_t entry, std::uint32_t value, std::string& out) const
    {
        std::string_view view;
        if (!EntryText(entry, value, view))
            return false;
        out.assign(view);
        return true;
    }

    // The rational at base + value. A zero denominator gives 0, the value for "not given",
    // and so does a value too small for any value table (at most 1e-8, such as 1/4294967295):
    // a photo that holds one then passes every bound on it instead of none.
    bool Rational(std::uint32_t value, double& out) const
    {
        const std::uint64_t off = base + value;
        std::uint32_t numerator = 0;
        std::uint32_t denominator = 0;
        if (!U32(off, numerator) || !U32(off + 4, denominator))
            return false;
        out = denominator == 0 ? 0.0
                               : static_cast<double>(numerator) / static_cast<double>(denominator);
        if (out <= kSmallestTableValue)
            out = 0.0;
        return true;
    }
};

bool IsOrderMark(const std::uint8_t* p)
{
    return (p[0] == 'I' && p[1] == 'I') || (p[0] == 'M' && p[1] == 'M');
}

// What IFD0 gives besides the record's fields.
struct ImageDirectory {
    std::uint32_t exifOffset = 0; // of the EXIF sub-directory; 0: none
    std::uint16_t rw2Iso = 0; // an RW2 file's ISO; 0: none
};

// Fills record from the entries of IFD0.
ImageDirectory ReadImageDirectory(
    const ExifBytes& bytes, std::uint64_t directory, PhotoRecord& record)
{
    ImageDirectory found;
    std::uint16_t count = 0;
    if (!bytes.U16(directory, count))
        return found;
    std::string make;
    std::string model;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t entry = directory + 2 + kEntrySize * i;
        // Entries lie in ascending order: once one is cut off, so are all after it.
        if (bytes.Field(entry, kEntrySize) == nullptr)
            break;
        std::uint16_t tag = 0;
        std::uint32_t value = 0;
        bytes.U16(entry, tag);
        bytes.U32(entry + 8, value);
        switch (tag) {
        case kTagMake:
            if (bytes.EntryText(entry, value, make))
                NormaliseMaker(make, false);
            break;
        case kTagModel:
            if (bytes.EntryText(entry, value, model)) {
                if (NormaliseMaker(model, true) || make.empty())
                    record.camera = model;
                else
                    record.camera = make + ' ' + model;
            }
            break;
        case kTagExifIfd:
            found.exifOffset = value;
            break;
        case kTagRw2Iso:
            bytes.U16(entry + 8, found.rw2Iso);
            break;
        case kTagDateTime: {
            // The EXIF directory's DateTimeOriginal, read after this, takes its place.
            std::string_view text;
            if (bytes.EntryText(entry, value, text))
                record.taken = ParseExifDateTime(text);
            break;
        }
        default:
            break;
        }
    }
    return found;
}

// Fills record from the EXIF directory's entries; found notes where the entries the
// expanded window's extras read lie.
void ReadExifDirectory(const ExifBytes& bytes, std::uint64_t directory, PhotoRecord& record,
    ExifDirectoryExtras& found)
{
    const TiffSpan span { bytes.data, bytes.size, bytes.base, bytes.bigEndian };
    std::uint16_t count = 0;
    if (!bytes.U16(directory, count))
        return;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t entry = directory + 2 + kEntrySize * i;
        if (bytes.Field(entry, kEntrySize) == nullptr)
            break;
        std::uint16_t tag = 0;
        std::uint16_t shortValue = 0;
        std::uint32_t value = 0;
        bytes.U16(entry, tag);
        bytes.U16(entry + 8, shortValue);
        bytes.U32(entry + 8, value);
        switch (tag) {
        case kTagIso:
            record.iso = shortValue;
            break;
        case kTagFNumber:
            bytes.Rational(value, record.fNumber);
            break;
        case kTagExposureTime:
            bytes.Rational(value, record.exposureTime);
            break;
        case kTagFocalLength:
            bytes.Rational(value, record.focalLength);
            break;
        case kTagDateTimeOriginal: {
            std::string_view text;
            std::int64_t taken = 0;
            if (bytes.EntryText(entry, value, text))
                taken = ParseExifDateTime(text);
            if (taken != 0) // else IFD0's DateTime, when it was valid, stands
                record.taken = taken;
            break;
        }
        case kTagFocal35:
            record.focal35 = shortValue;
            break;
        case kTagPixelWidth:
        case kTagPixelHeight: {
            std::uint16_t type = 0;
            bytes.U16(entry + 2, type);
            (tag == kTagPixelWidth ? record.extras.pixelWidth : record.extras.pixelHeight)
                = type == kTypeShort ? shortValue : value;
            break;
        }
        case kTagFocalPlaneX:
            bytes.Rational(value, record.extras.focalPlaneXResolution);
            break;
        case kTagFocalPlaneY:
            bytes.Rational(value, record.extras.focalPlaneYResolution);
            break;
        case kTagFocalPlaneUnit:
            record.extras.focalPlaneUnit = shortValue;
            break;
        case kTagLensModel: {
            std::string_view text;
            if (bytes.EntryText(entry, value, text))
                record.lens = text;
            break;
        }
        case kTagSensitivityType:
        case kTagRecommendedExposureIndex:
        case kTagIsoSpeed:
        case kTagMakerNote:
        case kTagLensSpecification:
            NoteExifEntry(span, entry, found);
            break;
        default:
            break;
        }
    }
}

// The maker list in search order; the first one found in a text wins.
constexpr std::array<const char*, 9> kMakers = {
    "KODAK",
    "NIKON",
    "SONY",
    "CANON",
    "Canon",
    "OLYMPUS",
    "PENTAX",
    "SIGMA",
    "FUJIFILM",
};

} // namespace

std::uint16_t ReadU16(const std::uint8_t* p, bool bigEndian)
{
    if (bigEndian)
        return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
    return static_cast<std::uint16_t>((p[1] << 8) | p[0]);
}

std::uint32_t ReadU32(const std::uint8_t* p, bool bigEndian)
{
    if (bigEndian)
        return (std::uint32_t { p[0] } << 24) | (std::uint32_t { p[1] } << 16)
            | (std::uint32_t { p[2] } << 8) | p[3];
    return (std::uint32_t { p[3] } << 24) | (std::uint32_t { p[2] } << 16)
        | (std::uint32_t { p[1] } << 8) | p[0];
}

bool NormaliseMaker(std::string& text, bool inPlace)
{
    for (const char* maker : kMakers) {
        const std::size_t at = text.find(maker);
        if (at == std::string::npos)
            continue;
        std::string replacement = maker;
        for (std::size_t i = 1; i < replacement.size(); ++i) {
            if (replacement[i] >= 'A' && replacement[i] <= 'Z')
                replacement[i] = static_cast<char>(replacement[i] - 'A' + 'a');
        }
        if (inPlace)
            text.replace(at, replacement.size(), replacement);
        else
            text = replacement;
        return true;
    }
    return false;
}

std::int64_t ParseExifDateTime(std::string_view text)
{
    // Digits at these places, ':' ' ' ':' ':' at the others.
    static const char kForm[] = "dddd:dd:dd dd:dd:dd";
    if (text.size() != sizeof kForm - 1)
        return 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kForm[i] == 'd' ? !digit : text[i] != kForm[i])
            return 0;
    }
    const auto field = [&text](std::size_t at, std::size_t n) {
        int v = 0;
        for (std::size_t i = at; i < at + n; ++i)
            v = v * 10 + (text[i] - '0');
        return v;
    };
    const int year = field(0, 4);
    const int month = field(5, 2);
    const int day = field(8, 2);
    const int hour = field(11, 2);
    const int minute = field(14, 2);
    const int second = field(17, 2);
    static const int kDays[12] = { 31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1]
        || (month == 2 && day == 29 && !leap) || hour > 23 || minute > 59 || second > 59)
        return 0;
    return ((((std::int64_t { year } * 100 + month) * 100 + day) * 100 + hour) * 100 + minute) * 100
        + second;
}

namespace {

// Which directory a TIFF block's header names first.
enum class FirstDirectory { Image, Exif };

// Reads the TIFF block whose header lies at base of the bytes (size of them). Returns
// false, the record untouched, when there is no byte-order mark at base.
bool ReadTiffBlock(PhotoRecord& record, const std::uint8_t* data, std::uint64_t size,
    std::uint64_t base, FirstDirectory first, const FileWindows* more = nullptr)
{
    if (base > size || size - base < 2 || !IsOrderMark(data + base))
        return false;
    const ExifBytes bytes { data, size, base, data[base] == 'M', more };
    std::uint32_t firstOffset = 0;
    if (!bytes.U32(base + 4, firstOffset))
        return true;
    ExifDirectoryExtras found;
    if (first == FirstDirectory::Exif) {
        ReadExifDirectory(bytes, base + firstOffset, record, found);
    } else {
        const ImageDirectory image = ReadImageDirectory(bytes, base + firstOffset, record);
        if (image.exifOffset != 0)
            ReadExifDirectory(bytes, base + image.exifOffset, record, found);
        std::uint16_t magic = 0;
        if (record.iso == 0 && bytes.U16(base + 2, magic) && magic == kRw2Magic)
            record.iso = image.rw2Iso;
    }
    ReadPhotoExtras({ data, size, base, bytes.bigEndian }, found, record);
    return true;
}

// The JPEG and TIFF rule: the TIFF header of a JPEG file whose first segment is EXIF at
// byte 12, else a TIFF file's at byte 0. Returns false when neither holds a mark.
bool JpegOrTiffBase(const std::uint8_t* buffer, std::size_t size, std::uint64_t& base)
{
    if (buffer == nullptr)
        return false;
    if (size >= 14 && IsOrderMark(buffer + 12))
        base = 12;
    else if (size >= 2 && IsOrderMark(buffer))
        base = 0;
    else
        return false;
    return true;
}

// A JPEG whose first segment is not EXIF: its leading segments, walked inside the bytes
// read, each a marker and a big-endian length that counts itself but not the marker:
//
//   FF D8 | FF En len len payload | ... | FF E1 len len 'E' 'x' 'i' 'f' 00 00 | TIFF header
//
// APP0-APP15 (FF E0 to FF EF: JFIF, ICC profile, Photoshop, ...) and COM (FF FE) are
// stepped over; fill bytes FF before a marker are skipped. Returns true, base the TIFF
// header's position, at the first APP1 segment whose payload starts "Exif\0\0". Returns
// false at any other marker (SOF, DHT, DQT and SOS end the header, and the walk guesses at
// no other), and where a marker or the "Exif\0\0" it looks for lies beyond the bytes read.
bool FindExifSegment(const std::uint8_t* buffer, std::uint64_t size, std::uint64_t& base)
{
    static const std::uint8_t kExifId[] = { 'E', 'x', 'i', 'f', 0, 0 };
    if (buffer == nullptr || size < 4 || buffer[0] != 0xFF || buffer[1] != 0xD8)
        return false;
    std::uint64_t at = 2; // a marker's first FF; at < size
    for (;;) {
        if (buffer[at] != 0xFF)
            return false;
        while (at + 1 < size && buffer[at + 1] == 0xFF)
            ++at;
        if (size - at < 4)
            return false;
        const std::uint8_t marker = buffer[at + 1];
        if (!((marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE))
            return false;
        const std::uint64_t length = ReadU16(buffer + at + 2, true);
        if (length < 2)
            return false;
        if (marker == 0xE1 && length >= 2 + sizeof kExifId && size - at - 4 >= sizeof kExifId
            && std::memcmp(buffer + at + 4, kExifId, sizeof kExifId) == 0) {
            base = at + 4 + sizeof kExifId;
            return true;
        }
        // The next marker's first byte must lie inside the bytes read.
        if (length + 2 >= size - at)
            return false;
        at += 2 + length;
    }
}

FirstDirectory FirstOf(ExifBlockKind kind)
{
    return kind == ExifBlockKind::TiffExif ? FirstDirectory::Exif : FirstDirectory::Image;
}

// Reads the EXIF blocks of another container as start holds them; false when none has a
// TIFF header. Without ReadFurther's look, the blocks are looked for in the first read
// alone and read as far as it holds them.
bool ParseContainer(PhotoRecord& record, const std::uint8_t* buffer, const FileStart& start)
{
    bool read = false;
    std::size_t base = 0;
    if (start.located) {
        for (std::size_t i = 0; i < start.blockCount && i < 2; ++i) {
            const HeldBlock& block = start.blocks[i];
            if (block.size == 0 || block.at > kFileStartBufferSize
                || block.size > kFileStartBufferSize - block.at
                || !TiffHeaderInBlock(buffer + block.at, block.size, block.kind, base))
                continue;
            read = ReadTiffBlock(record, buffer + block.at, block.size, base, FirstOf(block.kind))
                || read;
        }
        return read;
    }
    FileWindows first;
    first.window[0] = { 0, buffer, start.size };
    first.count = 1;
    ContainerExif exif;
    if (LocateContainerExif(first, start.length, exif).outcome != LocateOutcome::Found)
        return false;
    for (std::size_t i = 0; i < exif.count; ++i) {
        const ExifBlock& block = exif.blocks[i];
        const FileExtent& extent = block.extents[0];
        if (block.extentCount != 1 || extent.offset >= start.size)
            continue;
        const auto available = static_cast<std::size_t>(std::min<std::uint64_t>(
            { extent.length, start.size - extent.offset, kExifBlockReadSize }));
        const std::uint8_t* bytes = buffer + extent.offset;
        if (TiffHeaderInBlock(bytes, available, block.kind, base))
            read = ReadTiffBlock(record, bytes, available, base, FirstOf(block.kind)) || read;
    }
    return read;
}

// Whether the directory at off (count, then its entries) lies wholly in one piece.
bool DirectoryHeld(const FileWindows& windows, std::uint64_t off, bool bigEndian)
{
    const std::uint8_t* count = windows.Field(off, 2);
    return count != nullptr
        && windows.Field(off, 2 + kEntrySize * std::uint64_t { ReadU16(count, bigEndian) })
        != nullptr;
}

// The EXIF directory's offset as IFD0 at off gives it; 0 when it does not.
std::uint32_t ExifDirectoryOffset(const FileWindows& windows, std::uint64_t off, bool bigEndian)
{
    const std::uint8_t* count = windows.Field(off, 2);
    if (count == nullptr)
        return 0;
    const std::uint16_t n = ReadU16(count, bigEndian);
    for (std::uint64_t i = 0; i < n; ++i) {
        const std::uint8_t* entry = windows.Field(off + 2 + kEntrySize * i, kEntrySize);
        if (entry == nullptr)
            break;
        if (ReadU16(entry, bigEndian) == kTagExifIfd)
            return ReadU32(entry + 8, bigEndian);
    }
    return 0;
}

// A TIFF file (header at byte 0) whose IFD0 or EXIF directory does not lie wholly in the
// first read: up to kExifBlockReadSize bytes from each such directory, read into the
// areas, where the values written after a directory usually lie too.
void ReadFarDirectories(FileReads& reads, std::uint8_t* buffer, FileStart& start)
{
    if (start.size < 8)
        return;
    const bool bigEndian = buffer[0] == 'M';
    FileWindows windows;
    windows.window[0] = { 0, buffer, start.size };
    windows.count = 1;
    const auto readAt = [&](std::uint64_t off) {
        if (off >= start.length || start.pieceCount >= 2 || start.reads >= kMaxFileReads)
            return;
        HeldBytes& piece = start.pieces[start.pieceCount];
        piece.fileOffset = off;
        piece.at = kBlockAreaAt + start.pieceCount * kExifBlockReadSize;
        piece.size = reads.Read(off, buffer + piece.at,
            static_cast<std::size_t>(
                std::min<std::uint64_t>(kExifBlockReadSize, start.length - off)));
        ++start.reads;
        if (piece.size == 0)
            return;
        ++start.pieceCount;
        windows.window[windows.count++] = { off, buffer + piece.at, piece.size };
    };
    const std::uint64_t ifd0 = ReadU32(buffer + 4, bigEndian);
    if (!DirectoryHeld(windows, ifd0, bigEndian))
        readAt(ifd0);
    const std::uint32_t exif = ExifDirectoryOffset(windows, ifd0, bigEndian);
    if (exif != 0 && !DirectoryHeld(windows, exif, bigEndian))
        readAt(exif);
}

// A container: follows its boxes or chunks through further reads into the reading
// thread's own buffer, then brings each EXIF block into an area of buffer (or leaves it
// in place when the first read holds it whole).
void ReadContainer(FileReads& reads, std::uint8_t* buffer, FileStart& start)
{
    // Each further read has a place of kBoxReadSize bytes of its own, made on a thread's
    // first such file and kept for its life: 768 KiB a reading thread at most, whose pages
    // only such reads touch.
    thread_local std::unique_ptr<std::uint8_t[]> scratch;
    FileWindows windows;
    windows.window[0] = { 0, buffer, start.size };
    windows.count = 1;
    const auto readAt = [&](const LocateResult& wanted) {
        if (start.reads >= kMaxFileReads || windows.count >= kMaxWindows || wanted.readLength == 0)
            return false;
        if (!scratch)
            scratch.reset(new std::uint8_t[(kMaxWindows - 1) * kBoxReadSize]);
        std::uint8_t* into = scratch.get() + (windows.count - 1) * kBoxReadSize;
        const std::size_t got
            = reads.Read(wanted.readOffset, into, std::min(wanted.readLength, kBoxReadSize));
        ++start.reads;
        if (got == 0)
            return false;
        windows.window[windows.count++] = { wanted.readOffset, into, got };
        return true;
    };

    ContainerExif exif;
    for (;;) {
        const LocateResult result = LocateContainerExif(windows, start.length, exif);
        if (result.outcome == LocateOutcome::Found)
            break;
        if (result.outcome == LocateOutcome::TooLarge)
            start.reason = SkipTooLarge;
        if (result.outcome != LocateOutcome::NeedRead || !readAt(result))
            return;
    }
    for (std::size_t i = 0; i < exif.count && i < 2; ++i) {
        const ExifBlock& block = exif.blocks[i];
        LocateResult wanted = BlockBytesNeeded(windows, block);
        while (wanted.outcome == LocateOutcome::NeedRead && readAt(wanted))
            wanted = BlockBytesNeeded(windows, block);
        if (wanted.outcome != LocateOutcome::None) {
            // Cut short or too large: a split item is read whole or not at all.
            if (wanted.outcome == LocateOutcome::TooLarge)
                start.reason = SkipTooLarge;
            if (block.extentCount != 1)
                continue;
        }
        HeldBlock& held = start.blocks[start.blockCount];
        held.kind = block.kind;
        const FileExtent& first = block.extents[0];
        if (block.extentCount == 1 && first.offset < start.size) {
            // In place: the first read holds its start, usually all of it.
            held.at = static_cast<std::size_t>(first.offset);
            held.size = static_cast<std::size_t>(std::min<std::uint64_t>(
                { first.length, start.size - first.offset, kExifBlockReadSize }));
            if (held.size < std::min<std::uint64_t>(first.length, kExifBlockReadSize)
                && wanted.outcome == LocateOutcome::None) {
                held.at = kBlockAreaAt + start.blockCount * kExifBlockReadSize;
                held.size = CopyBlockBytes(windows, block, buffer + held.at);
            }
        } else {
            held.at = kBlockAreaAt + start.blockCount * kExifBlockReadSize;
            held.size = CopyBlockBytes(windows, block, buffer + held.at);
        }
        if (held.size > 0)
            ++start.blockCount;
    }
}

// A TIFF file read with its far directories: the values they give, kept beside the
// record's own for the expanded window.
void ReadFarValues(PhotoRecord& record, const std::uint8_t* buffer, const FileStart& start)
{
    FileWindows more;
    for (std::size_t i = 0; i < start.pieceCount && i < 2; ++i) {
        const HeldBytes& piece = start.pieces[i];
        if (piece.at > kFileStartBufferSize || piece.size > kFileStartBufferSize - piece.at)
            continue;
        more.window[more.count++] = { piece.fileOffset, buffer + piece.at, piece.size };
    }
    PhotoRecord full;
    ReadTiffBlock(full, buffer, start.size, 0, FirstDirectory::Image, &more);
    auto values = std::make_shared<DirectoryValues>();
    values->camera = full.camera;
    values->lens = full.lens;
    values->taken = full.taken;
    values->focal35 = full.focal35;
    values->iso = full.iso;
    values->exposureTime = full.exposureTime;
    values->focalLength = full.focalLength;
    values->fNumber = full.fNumber;
    record.extras.directories = std::move(values);
}

} // namespace

bool ParseExif(PhotoRecord& record, const std::uint8_t* buffer, std::size_t size)
{
    std::uint64_t base = 0;
    if (!JpegOrTiffBase(buffer, size, base)
        || !ReadTiffBlock(record, buffer, size, base, FirstDirectory::Image))
        return false;
    // A JPEG's XMP packet follows its EXIF segment.
    if (base == 12 && record.lens.empty() && record.extras.lens.empty())
        ReadXmpLens(buffer, size, record.extras);
    return true;
}

void ReadFurther(FileReads& reads, std::uint8_t* buffer, FileStart& start)
{
    start.reads = start.size > 0 ? 1 : 0;
    start.located = true;
    start.blockCount = 0;
    start.pieceCount = 0;
    if (start.size == 0)
        return;
    std::uint64_t base = 0;
    if (JpegOrTiffBase(buffer, start.size, base)) {
        if (base == 0)
            ReadFarDirectories(reads, buffer, start);
        return;
    }
    ReadContainer(reads, buffer, start);
}

std::size_t MemoryReads::Read(std::uint64_t offset, std::uint8_t* out, std::size_t n)
{
    if (offset >= m_size)
        return 0;
    const auto got = static_cast<std::size_t>(std::min<std::uint64_t>(n, m_size - offset));
    std::memcpy(out, m_data + offset, got);
    return got;
}

void ReadMemoryStart(
    const std::uint8_t* data, std::uint64_t size, std::uint8_t* buffer, FileStart& start)
{
    start = FileStart();
    start.size = static_cast<std::size_t>(std::min<std::uint64_t>(size, kExifReadSize));
    start.length = size;
    start.reason = SkipNoExif;
    if (start.size > 0)
        std::memcpy(buffer, data, start.size);
    MemoryReads reads(data, size);
    ReadFurther(reads, buffer, start);
}

double FileSizeMb(std::uint64_t bytes)
{
    // The size is rounded as "%.1f" rounds and read back, without the locale's decimal
    // point getting in the way.
    const double mb = static_cast<double>(bytes) / 1048576.0;
    char text[64];
    const std::to_chars_result written
        = std::to_chars(text, text + sizeof text, mb, std::chars_format::fixed, 1);
    if (written.ec != std::errc())
        return mb;
    double rounded = 0;
    std::from_chars(text, written.ptr, rounded, std::chars_format::fixed);
    return rounded;
}

namespace {

// Positioned reads of an open descriptor: short reads continued, interruptions retried.
class DescriptorReads : public FileReads {
public:
    explicit DescriptorReads(int fd)
        : m_fd(fd)
    {
    }
    std::size_t Read(std::uint64_t offset, std::uint8_t* out, std::size_t n) override
    {
        std::size_t got = 0;
        while (got < n
            && offset + got <= static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) {
            const ssize_t r = ::pread(m_fd, out + got, n - got, static_cast<off_t>(offset + got));
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0)
                break;
            got += static_cast<std::size_t>(r);
        }
        return got;
    }

private:
    int m_fd;
};

} // namespace

bool ReadFileStart(const std::string& path, std::uint8_t* buffer, FileStart& start)
{
    // Non-blocking so that a FIFO without a writer cannot stall the open; it is then
    // turned away by the regular-file check.
    const int fd = OpenAnyLength(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        start.error = errno;
        // A socket cannot be opened at all (ENXIO).
        start.reason = errno == ENAMETOOLONG ? SkipPathTooLong
            : errno == ENXIO                 ? SkipNotRegularFile
                                             : SkipUnreadable;
        return false;
    }
    struct stat info { };
    const bool statFailed = ::fstat(fd, &info) != 0;
    start.error = statFailed ? errno : 0;
    if (statFailed || !S_ISREG(info.st_mode)) {
        start.reason = statFailed ? SkipUnreadable : SkipNotRegularFile;
        ::close(fd);
        return false;
    }

    std::size_t got = 0;
    bool failed = false;
    while (got < kExifReadSize) {
        const ssize_t n = ::read(fd, buffer + got, kExifReadSize - got);
        if (n < 0 && errno == EINTR)
            continue;
        failed = n < 0;
        if (failed)
            start.error = errno;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    // An empty file holds no EXIF block; one that failed before its first byte is unreadable.
    start.reason = failed ? SkipUnreadable : SkipNoExif;
    start.size = got;
    start.length = static_cast<std::uint64_t>(info.st_size);
    start.device = static_cast<std::uint64_t>(info.st_dev);
    DescriptorReads reads(fd);
    ReadFurther(reads, buffer, start);
    ::close(fd);
    return got > 0;
}

bool ParsePhoto(const std::string& path, const std::uint8_t* buffer, const FileStart& start,
    PhotoRecord& record)
{
    // JPEG and TIFF first, exactly as ever; then a JPEG's EXIF segment after other leading
    // segments, which only the expanded window counts; other containers only when both fail.
    if (start.size == 0)
        return false;
    std::uint64_t base = 0;
    if (ParseExif(record, buffer, start.size)) {
        if (start.pieceCount > 0)
            ReadFarValues(record, buffer, start);
    } else if (FindExifSegment(buffer, start.size, base)
        && ReadTiffBlock(record, buffer, start.size, base, FirstDirectory::Image)) {
        record.extras.exifPlace = ExifPlace::LaterSegment;
    } else if (!ParseContainer(record, buffer, start)) {
        return false;
    }
    record.path = path;
    record.fileSizeMb = FileSizeMb(start.length);
    return true;
}

bool ReadPhoto(const std::string& path, PhotoRecord& record)
{
    // On the heap: too large for a reader thread's stack to take lightly.
    const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kFileStartBufferSize]);
    FileStart start;
    return ReadFileStart(path, buffer.get(), start)
        && ParsePhoto(path, buffer.get(), start, record);
}
