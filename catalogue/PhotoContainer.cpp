// SPDX-License-Identifier: MIT
#include "catalogue/PhotoContainer.h"

#include <algorithm>
#include <cstring>

const std::uint8_t* FileWindows::Field(std::uint64_t off, std::uint64_t n) const
{
    for (std::size_t i = 0; i < count && i < kMaxWindows; ++i) {
        const FileWindow& w = window[i];
        if (off >= w.offset && off - w.offset <= w.size && n <= w.size - (off - w.offset))
            return w.data + (off - w.offset);
    }
    return nullptr;
}

namespace {

// One search through the pieces read: remembers the first bytes it missed that lie inside
// the file, so that the reader can fetch them and search again.
struct Search {
    const FileWindows& windows;
    std::uint64_t fileLength;
    bool requested = false;
    LocateResult request;
    // A box to read whole when a field inside it is missed (meta, moov, Canon's uuid box);
    // empty when a missed field brings only kHeaderReadSize bytes from where it lies.
    std::uint64_t wholeFrom = 0;
    std::uint64_t wholeTo = 0;

    void Request(std::uint64_t offset, std::uint64_t length)
    {
        if (requested || offset >= fileLength)
            return;
        requested = true;
        request.outcome = LocateOutcome::NeedRead;
        request.readOffset = offset;
        request.readLength = static_cast<std::size_t>(
            std::min<std::uint64_t>({ length, fileLength - offset, kBoxReadSize }));
    }

    void Miss(std::uint64_t off)
    {
        if (requested || off >= fileLength)
            return;
        if (wholeTo > wholeFrom && off >= wholeFrom && off < wholeTo) {
            if (wholeTo - wholeFrom > kBoxReadSize) {
                requested = true;
                request.outcome = LocateOutcome::TooLarge;
                return;
            }
            Request(wholeFrom, wholeTo - wholeFrom);
            return;
        }
        // A header in the file's last kHeaderReadSize bytes: those bytes, which hold the
        // rest of the file and often the Exif item written just before a closing meta.
        if (fileLength - off <= kHeaderReadSize && fileLength > kHeaderReadSize) {
            Request(fileLength - kHeaderReadSize, kHeaderReadSize);
            return;
        }
        Request(off, kHeaderReadSize);
    }

    // While searching inside box [from, to): a missed field there brings the whole box.
    void ReadWhole(std::uint64_t from, std::uint64_t to)
    {
        wholeFrom = from;
        wholeTo = to;
    }
};

// The pieces read, as one search sees them. Fields are read at their file offsets, only
// before limit (the end of the box being read); every field of these containers is
// big-endian but for WebP's.
struct ContainerBytes {
    Search* search;
    std::uint64_t limit;

    // The one way to reach a field: n bytes at off, or null when any of them lies past
    // limit or in no piece read (then the search notes the miss).
    const std::uint8_t* Field(std::uint64_t off, std::uint64_t n) const
    {
        if (off > limit || n > limit - off)
            return nullptr;
        const std::uint8_t* p = search->windows.Field(off, n);
        if (p == nullptr)
            search->Miss(off);
        return p;
    }

    bool Held(std::uint64_t off, std::uint64_t n) const
    {
        return off <= limit && n <= limit - off && search->windows.Field(off, n) != nullptr;
    }

    // The same bytes, read only before end.
    ContainerBytes Within(std::uint64_t end) const { return { search, std::min(limit, end) }; }

    // An unsigned big-endian value of n bytes (0, 1, 2, 4 or 8; 0 gives 0).
    bool Uint(std::uint64_t off, std::uint64_t n, std::uint64_t& out) const
    {
        const std::uint8_t* p = Field(off, n);
        if (p == nullptr)
            return false;
        // The common widths spelt out: a scan reads hundreds of these per file.
        switch (n) {
        case 2:
            out = (std::uint64_t { p[0] } << 8) | p[1];
            return true;
        case 4:
            out = (std::uint64_t { p[0] } << 24) | (std::uint64_t { p[1] } << 16)
                | (std::uint64_t { p[2] } << 8) | p[3];
            return true;
        default:
            out = 0;
            for (std::uint64_t i = 0; i < n; ++i)
                out = (out << 8) | p[i];
            return true;
        }
    }

    bool U32Le(std::uint64_t off, std::uint64_t& out) const
    {
        const std::uint8_t* p = Field(off, 4);
        if (p == nullptr)
            return false;
        out = (std::uint64_t { p[3] } << 24) | (std::uint64_t { p[2] } << 16)
            | (std::uint64_t { p[1] } << 8) | p[0];
        return true;
    }

    bool Is(std::uint64_t off, const char* text, std::uint64_t n) const
    {
        const std::uint8_t* p = Field(off, n);
        return p != nullptr && std::memcmp(p, text, static_cast<std::size_t>(n)) == 0;
    }
};

// Whether [offset, offset + length) lies inside a file of fileLength bytes.
bool InsideFile(std::uint64_t offset, std::uint64_t length, std::uint64_t fileLength)
{
    return offset <= fileLength && length <= fileLength - offset;
}

void Add(ContainerExif& out, std::uint64_t offset, std::uint64_t length, ExifBlockKind kind)
{
    if (out.count >= 2)
        return;
    ExifBlock& block = out.blocks[out.count++];
    block.kind = kind;
    block.extentCount = 1;
    block.extents[0] = { offset, length };
}

// ---- ISO base media files: HEIF, HEIC, AVIF, CR3 and JPEG XL's container -------------
//
// box:  size (4) | type (4) | [64-bit size (8) when size is 1] | [user type (16) for 'uuid']
//       | payload. A size of 0 reaches to the end of the enclosing box (of the file at the
//       top). A full box's payload starts with version (1) | flags (3).

constexpr std::uint64_t kMaxBoxesPerLevel = 4096;

constexpr std::uint32_t FourCc(const char (&text)[5])
{
    return (std::uint32_t { static_cast<std::uint8_t>(text[0]) } << 24)
        | (std::uint32_t { static_cast<std::uint8_t>(text[1]) } << 16)
        | (std::uint32_t { static_cast<std::uint8_t>(text[2]) } << 8)
        | std::uint32_t { static_cast<std::uint8_t>(text[3]) };
}

struct Box {
    std::uint32_t type = 0;
    std::uint64_t start = 0; // of the header
    std::uint64_t payload = 0; // after the header (and the user type of a 'uuid')
    std::uint64_t end = 0;
};

// Reads the box header at at, inside a parent that ends at parentEnd, and moves at past
// the box. Returns false when the header lies outside the bytes read or the size is
// impossible: shorter than its header or reaching past the parent. A box always advances.
bool NextBox(const ContainerBytes& bytes, std::uint64_t& at, std::uint64_t parentEnd, Box& box)
{
    std::uint64_t size = 0;
    std::uint64_t type = 0;
    if (at >= parentEnd || !bytes.Uint(at, 4, size) || !bytes.Uint(at + 4, 4, type))
        return false;
    std::uint64_t header = 8;
    if (size == 1) {
        if (!bytes.Uint(at + 8, 8, size))
            return false;
        header = 16;
    } else if (size == 0) {
        size = parentEnd - at;
    }
    if (type == FourCc("uuid"))
        header += 16;
    if (size < header || size > parentEnd - at)
        return false;
    box.type = static_cast<std::uint32_t>(type);
    box.start = at;
    box.payload = at + header;
    box.end = at + size;
    at = box.end;
    return true;
}

// Finds the first child of type inside [from, end).
bool FindChild(const ContainerBytes& bytes, std::uint64_t from, std::uint64_t end,
    std::uint32_t type, Box& found)
{
    std::uint64_t at = from;
    Box box;
    for (std::uint64_t n = 0; n < kMaxBoxesPerLevel && NextBox(bytes, at, end, box); ++n) {
        if (box.type == type) {
            found = box;
            return true;
        }
    }
    return false;
}

// Brands of still images (HEIF, HEIC, AVIF) and of CR3 in the 'ftyp' box at byte 0:
// major brand (4) | minor version (4) | compatible brands (4 each).
enum class Brand { None, Heif, Canon };

Brand BrandOf(const ContainerBytes& bytes, std::uint64_t fileLength)
{
    std::uint64_t at = 0;
    Box ftyp;
    if (!NextBox(bytes, at, fileLength, ftyp) || ftyp.type != FourCc("ftyp"))
        return Brand::None;
    static const char* const kHeifBrands[]
        = { "heic", "heix", "heim", "heis", "hevc", "hevx", "mif1", "msf1", "avif", "avis" };
    Brand found = Brand::None;
    for (std::uint64_t off = ftyp.payload; off + 4 <= ftyp.end; off += 4) {
        if (off == ftyp.payload + 4)
            continue; // the minor version
        if (bytes.Is(off, "crx ", 4))
            return Brand::Canon;
        for (const char* brand : kHeifBrands) {
            if (bytes.Is(off, brand, 4))
                found = Brand::Heif;
        }
    }
    return found;
}

// HEIF: meta (full box) holds iinf, iloc and maybe idat.
//   iinf (full box): entry count (2 in version 0, else 4) | infe boxes
//   infe (full box) version 2: item ID (2) | protection index (2) | item type (4) | ...
//                   version 3: item ID (4) | protection index (2) | item type (4) | ...
//   iloc (full box): offset size (4 bits) | length size (4 bits) | base offset size (4 bits)
//       | index size (4 bits, versions 1 and 2) | item count (2, version 2: 4) | items:
//       item ID (2, version 2: 4) | [reserved (12 bits) | construction method (4 bits),
//       versions 1 and 2] | data reference index (2) | base offset | extent count (2) |
//       extents: [extent index, versions 1 and 2] | extent offset | extent length.
//   Field sizes are 0, 4 or 8 bytes. Construction method 0: file offsets; 1: offsets into
//   the payload of idat. An extent length of 0 reaches to the end of the file (or idat).

// The item ID of the first unprotected item of type 'Exif'.
bool FindExifItem(const ContainerBytes& bytes, const Box& iinf, std::uint64_t& itemId)
{
    std::uint64_t version = 0;
    std::uint64_t entries = 0;
    if (!bytes.Uint(iinf.payload, 1, version))
        return false;
    const std::uint64_t countSize = version == 0 ? 2 : 4;
    if (!bytes.Uint(iinf.payload + 4, countSize, entries))
        return false;
    std::uint64_t at = iinf.payload + 4 + countSize;
    Box infe;
    for (std::uint64_t n = 0;
         n < entries && n < kMaxBoxesPerLevel && NextBox(bytes, at, iinf.end, infe); ++n) {
        std::uint64_t infeVersion = 0;
        if (infe.type != FourCc("infe") || !bytes.Uint(infe.payload, 1, infeVersion))
            continue;
        if (infeVersion != 2 && infeVersion != 3)
            continue;
        // Fields are read only inside the infe box.
        const ContainerBytes in = bytes.Within(infe.end);
        const std::uint64_t idSize = infeVersion == 2 ? 2 : 4;
        std::uint64_t id = 0;
        std::uint64_t protection = 0;
        const std::uint64_t fields = infe.payload + 4;
        if (!in.Uint(fields, idSize, id) || !in.Uint(fields + idSize, 2, protection))
            continue;
        if (protection == 0 && in.Is(fields + idSize + 2, "Exif", 4)) {
            itemId = id;
            return true;
        }
    }
    return false;
}

bool ValidFieldSize(std::uint64_t n)
{
    return n == 0 || n == 4 || n == 8;
}

// The file places of the extents of item itemId. idat may be absent.
LocateOutcome LocateItem(const ContainerBytes& all, const Box& iloc, const Box& idat, bool haveIdat,
    std::uint64_t itemId, std::uint64_t fileLength, ExifBlock& block)
{
    // Fields are read only inside the iloc box.
    const ContainerBytes bytes = all.Within(iloc.end);
    std::uint64_t version = 0;
    std::uint64_t sizes = 0;
    if (!bytes.Uint(iloc.payload, 1, version) || version > 2
        || !bytes.Uint(iloc.payload + 4, 2, sizes))
        return LocateOutcome::None;
    const std::uint64_t offsetSize = sizes >> 12;
    const std::uint64_t lengthSize = (sizes >> 8) & 15;
    const std::uint64_t baseSize = (sizes >> 4) & 15;
    const std::uint64_t indexSize = version == 0 ? 0 : sizes & 15;
    if (!ValidFieldSize(offsetSize) || !ValidFieldSize(lengthSize) || !ValidFieldSize(baseSize)
        || !ValidFieldSize(indexSize))
        return LocateOutcome::None;
    const std::uint64_t idSize = version == 2 ? 4 : 2;
    std::uint64_t items = 0;
    std::uint64_t at = iloc.payload + 6;
    if (!bytes.Uint(at, idSize, items))
        return LocateOutcome::None;
    at += idSize;
    const std::uint64_t extentSize = indexSize + offsetSize + lengthSize; // at most 24
    // Every item takes at least 6 bytes, so the box bounds the loop; a count that claims
    // more ends where the box ends.
    for (std::uint64_t i = 0; i < items && at < iloc.end; ++i) {
        std::uint64_t id = 0;
        std::uint64_t method = 0;
        std::uint64_t reference = 0;
        std::uint64_t base = 0;
        std::uint64_t extents = 0;
        if (!bytes.Uint(at, idSize, id))
            return LocateOutcome::None;
        at += idSize;
        if (version >= 1) {
            if (!bytes.Uint(at, 2, method))
                return LocateOutcome::None;
            method &= 15;
            at += 2;
        }
        if (!bytes.Uint(at, 2, reference) || !bytes.Uint(at + 2, baseSize, base)
            || !bytes.Uint(at + 2 + baseSize, 2, extents))
            return LocateOutcome::None;
        at += 2 + baseSize + 2;
        if (id != itemId) {
            at += extents * extentSize; // at most 65535 * 24: no wrap
            continue;
        }
        // Data in another file, or built from other items, is not read; nor is an item
        // without extents. One of more extents than kept is too scattered to read.
        if (reference != 0 || method > 1 || extents == 0)
            return LocateOutcome::None;
        if (extents > kMaxExtents)
            return LocateOutcome::TooLarge;
        std::uint64_t regionStart = 0;
        std::uint64_t regionEnd = fileLength;
        if (method == 1) {
            if (!haveIdat)
                return LocateOutcome::None;
            regionStart = idat.payload;
            regionEnd = idat.end;
        }
        block.kind = ExifBlockKind::HeifItem;
        block.extentCount = static_cast<std::size_t>(extents);
        for (std::size_t e = 0; e < block.extentCount; ++e, at += extentSize) {
            std::uint64_t extentOffset = 0;
            std::uint64_t length = 0;
            if (!bytes.Uint(at + indexSize, offsetSize, extentOffset)
                || !bytes.Uint(at + indexSize + offsetSize, lengthSize, length))
                return LocateOutcome::None;
            // offset = regionStart + base + extentOffset, each step checked against the region.
            if (base > regionEnd - regionStart || extentOffset > regionEnd - regionStart - base)
                return LocateOutcome::None;
            const std::uint64_t offset = regionStart + base + extentOffset;
            if (length == 0)
                length = regionEnd - offset;
            if (length == 0 || length > regionEnd - offset
                || !InsideFile(offset, length, fileLength))
                return LocateOutcome::None;
            block.extents[e] = { offset, length };
        }
        return LocateOutcome::Found;
    }
    return LocateOutcome::None;
}

// Walks the top-level boxes from at to the first of type; a header past the pieces read
// is asked for.
bool FindTopLevel(
    const ContainerBytes& bytes, std::uint64_t fileLength, std::uint32_t type, Box& found)
{
    return FindChild(bytes, 0, fileLength, type, found);
}

LocateOutcome FindHeifExif(
    const ContainerBytes& bytes, std::uint64_t fileLength, ContainerExif& out)
{
    Box meta;
    if (!FindTopLevel(bytes, fileLength, FourCc("meta"), meta))
        return LocateOutcome::None;
    bytes.search->ReadWhole(meta.start, meta.end);
    const std::uint64_t children = meta.payload + 4; // meta is a full box
    Box iinf;
    Box iloc;
    Box idat;
    std::uint64_t itemId = 0;
    if (children > meta.end || !FindChild(bytes, children, meta.end, FourCc("iinf"), iinf)
        || !FindExifItem(bytes, iinf, itemId)
        || !FindChild(bytes, children, meta.end, FourCc("iloc"), iloc))
        return LocateOutcome::None;
    const bool haveIdat = FindChild(bytes, children, meta.end, FourCc("idat"), idat);
    ExifBlock block;
    const LocateOutcome outcome
        = LocateItem(bytes, iloc, idat, haveIdat, itemId, fileLength, block);
    if (outcome == LocateOutcome::Found)
        out.blocks[out.count++] = block;
    return outcome;
}

// CR3: moov holds a 'uuid' box of Canon's whose children CMT1 (a TIFF block, IFD0 first)
// and CMT2 (a TIFF block, the EXIF directory first) are what a JPEG's EXIF segment holds.
LocateOutcome FindCanonExif(
    const ContainerBytes& bytes, std::uint64_t fileLength, ContainerExif& out)
{
    static const std::uint8_t kCanonUuid[16] = { 0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f, 0x11, 0xe0,
        0x81, 0x11, 0xf4, 0xce, 0x46, 0x2b, 0x6a, 0x48 };
    Box moov;
    if (!FindTopLevel(bytes, fileLength, FourCc("moov"), moov))
        return LocateOutcome::None;
    // A moov small enough is read whole; a larger one is walked header by header.
    if (moov.end - moov.start <= kBoxReadSize)
        bytes.search->ReadWhole(moov.start, moov.end);
    std::uint64_t at = moov.payload;
    Box box;
    for (std::uint64_t n = 0; n < kMaxBoxesPerLevel && NextBox(bytes, at, moov.end, box); ++n) {
        if (box.type != FourCc("uuid"))
            continue;
        const std::uint8_t* user = bytes.Field(box.payload - 16, 16);
        if (user == nullptr || std::memcmp(user, kCanonUuid, sizeof kCanonUuid) != 0)
            continue;
        bytes.search->ReadWhole(box.start, box.end);
        Box cmt;
        if (FindChild(bytes, box.payload, box.end, FourCc("CMT1"), cmt))
            Add(out, cmt.payload, cmt.end - cmt.payload, ExifBlockKind::TiffImage);
        if (FindChild(bytes, box.payload, box.end, FourCc("CMT2"), cmt))
            Add(out, cmt.payload, cmt.end - cmt.payload, ExifBlockKind::TiffExif);
        return out.count > 0 ? LocateOutcome::Found : LocateOutcome::None;
    }
    return LocateOutcome::None;
}

// JPEG XL's container: the signature box (00 00 00 0C 'JXL ' 0D 0A 87 0A), 'ftyp' with
// brand 'jxl ', then boxes such as 'jxlc' or 'jxlp' (the codestream) and 'Exif', whose
// payload is a 4-byte offset and then a TIFF block, as an HEIF Exif item. A
// Brotli-compressed 'brob' box is not read.
LocateOutcome FindJxlExif(const ContainerBytes& bytes, std::uint64_t fileLength, ContainerExif& out)
{
    Box exif;
    if (!FindTopLevel(bytes, fileLength, FourCc("Exif"), exif) || exif.end == exif.payload)
        return LocateOutcome::None;
    Add(out, exif.payload, exif.end - exif.payload, ExifBlockKind::HeifItem);
    return LocateOutcome::Found;
}

// ---- WebP -----------------------------------------------------------------------------
//
// "RIFF" | size of what follows (4, little-endian) | "WEBP" | chunks: FourCC (4) | payload
// size (4, little-endian) | payload | a pad byte when the size is odd. The extended form
// starts with a 'VP8X' chunk; its 'EXIF' chunk (usually after the image data) holds a
// TIFF block.
LocateOutcome FindWebpExif(
    const ContainerBytes& bytes, std::uint64_t fileLength, ContainerExif& out)
{
    std::uint64_t riffSize = 0;
    if (!bytes.U32Le(4, riffSize) || !bytes.Is(12, "VP8X", 4))
        return LocateOutcome::None;
    const std::uint64_t end = std::min(fileLength, 8 + riffSize);
    std::uint64_t at = 12;
    for (std::uint64_t n = 0; n < kMaxBoxesPerLevel && at < end && end - at >= 8; ++n) {
        std::uint64_t size = 0;
        if (bytes.Field(at, 8) == nullptr || !bytes.U32Le(at + 4, size) || size > end - at - 8)
            return LocateOutcome::None;
        if (bytes.Is(at, "EXIF", 4)) {
            if (size == 0)
                return LocateOutcome::None;
            Add(out, at + 8, size, ExifBlockKind::TiffOrExifId);
            return LocateOutcome::Found;
        }
        at += 8 + size + (size & 1);
    }
    return LocateOutcome::None;
}

// ---- PNG ------------------------------------------------------------------------------
//
// 89 'PNG' 0D 0A 1A 0A | chunks: data length (4, at most 2^31 - 1) | type (4) | data |
// CRC (4). The 'eXIf' chunk holds a TIFF block, before the image data ('IDAT') or after
// it; the file ends with an empty 'IEND'. Image data comes in many chunks, so past the
// first IDAT the file's last kHeaderReadSize bytes are looked through instead: an eXIf
// chunk there is taken when the chunks from it lead exactly to IEND.

constexpr std::uint64_t kMaxPngChunk = 0x7FFFFFFF;

// A chunk's end, when its length is one the format allows and it ends inside the file.
bool PngChunkEnd(
    const ContainerBytes& bytes, std::uint64_t at, std::uint64_t fileLength, std::uint64_t& end)
{
    std::uint64_t length = 0;
    if (!bytes.Uint(at, 4, length) || length > kMaxPngChunk || at > fileLength
        || 12 + length > fileLength - at)
        return false;
    end = at + 12 + length;
    return true;
}

bool FindPngExifInTail(const ContainerBytes& bytes, std::uint64_t tailFrom,
    std::uint64_t fileLength, ContainerExif& out)
{
    for (std::uint64_t c = tailFrom; c + 12 <= fileLength; ++c) {
        if (!bytes.Is(c + 4, "eXIf", 4))
            continue;
        std::uint64_t at = c;
        std::uint64_t end = 0;
        bool chained = false;
        // Each step moves at least 12 bytes on inside the tail.
        for (std::uint64_t n = 0;
             n <= kHeaderReadSize / 12 && PngChunkEnd(bytes, at, fileLength, end); ++n) {
            if (bytes.Is(at + 4, "IEND", 4)) {
                chained = true;
                break;
            }
            at = end;
        }
        std::uint64_t length = 0;
        if (chained && bytes.Uint(c, 4, length) && length > 0) {
            Add(out, c + 8, length, ExifBlockKind::TiffOrExifId);
            return true;
        }
    }
    return false;
}

LocateOutcome FindPngExif(const ContainerBytes& bytes, std::uint64_t fileLength, ContainerExif& out)
{
    std::uint64_t at = 8;
    bool imageData = false;
    for (std::uint64_t n = 0; n < kMaxBoxesPerLevel && at < fileLength; ++n) {
        if (imageData && !bytes.Held(at, 8)) {
            const std::uint64_t tailFrom
                = fileLength - std::min<std::uint64_t>(fileLength - at, kHeaderReadSize);
            if (!bytes.Held(tailFrom, fileLength - tailFrom)) {
                bytes.search->Request(tailFrom, fileLength - tailFrom);
                return LocateOutcome::None;
            }
            return FindPngExifInTail(bytes, tailFrom, fileLength, out) ? LocateOutcome::Found
                                                                       : LocateOutcome::None;
        }
        std::uint64_t end = 0;
        if (!PngChunkEnd(bytes, at, fileLength, end) || bytes.Is(at + 4, "IEND", 4))
            return LocateOutcome::None;
        if (bytes.Is(at + 4, "eXIf", 4)) {
            if (end - at == 12)
                return LocateOutcome::None;
            Add(out, at + 8, end - at - 12, ExifBlockKind::TiffOrExifId);
            return LocateOutcome::Found;
        }
        imageData = imageData || bytes.Is(at + 4, "IDAT", 4);
        at = end;
    }
    return LocateOutcome::None;
}

// ---- RAF ------------------------------------------------------------------------------
//
// "FUJIFILMCCD-RAW " (16) | format version (4) | camera ID (8) | camera name (32) | ...
// at 84: offset of the embedded JPEG (4) | its length (4). The JPEG starts with
// FF D8 FF E1 and the EXIF segment's length (2), which bounds what has to be read.
LocateOutcome FindRafExif(const ContainerBytes& bytes, std::uint64_t fileLength, ContainerExif& out)
{
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    if (!bytes.Uint(84, 4, offset) || !bytes.Uint(88, 4, length) || length == 0
        || !InsideFile(offset, length, fileLength))
        return LocateOutcome::None;
    std::uint64_t segment = 0;
    if (bytes.Held(offset, 6) && bytes.Is(offset, "\xFF\xD8\xFF\xE1", 4)
        && bytes.Uint(offset + 4, 2, segment))
        length = std::min(length, 4 + segment);
    else
        length = std::min<std::uint64_t>(length, kExifBlockReadSize);
    Add(out, offset, length, ExifBlockKind::Jpeg);
    return LocateOutcome::Found;
}

// ---- MRW ------------------------------------------------------------------------------
//
// "\0MRM" (4) | length of the blocks that follow (4) | blocks: name (4) | length (4) |
// data. The "\0TTW" block holds a TIFF block.
LocateOutcome FindMrwExif(const ContainerBytes& bytes, std::uint64_t fileLength, ContainerExif& out)
{
    std::uint64_t length = 0;
    if (!bytes.Uint(4, 4, length))
        return LocateOutcome::None;
    const std::uint64_t end
        = 8 + std::min(length, fileLength - std::min<std::uint64_t>(fileLength, 8));
    std::uint64_t at = 8;
    for (int n = 0; n < 64; ++n) {
        std::uint64_t blockLength = 0;
        if (at > end || end - at < 8 || !bytes.Uint(at + 4, 4, blockLength)
            || blockLength > end - at - 8)
            return LocateOutcome::None;
        if (bytes.Is(at, "\0TTW", 4)) {
            if (blockLength == 0)
                return LocateOutcome::None;
            Add(out, at + 8, blockLength, ExifBlockKind::TiffImage);
            return LocateOutcome::Found;
        }
        at += 8 + blockLength;
    }
    return LocateOutcome::None;
}

LocateOutcome FindAny(const ContainerBytes& in, std::uint64_t fileLength, ContainerExif& out)
{
    if (in.Held(0, 16) && in.Is(0, "FUJIFILMCCD-RAW ", 16))
        return FindRafExif(in, fileLength, out);
    if (in.Held(0, 4) && in.Is(0, "\0MRM", 4))
        return FindMrwExif(in, fileLength, out);
    if (in.Held(0, 8) && in.Is(0, "\x89PNG\r\n\x1A\n", 8))
        return FindPngExif(in, fileLength, out);
    if (in.Held(0, 16) && in.Is(0, "RIFF", 4) && in.Is(8, "WEBP", 4))
        return FindWebpExif(in, fileLength, out);
    if (in.Held(0, 12) && in.Is(0, "\0\0\0\x0CJXL \r\n\x87\n", 12))
        return FindJxlExif(in, fileLength, out);
    if (in.Held(4, 4) && in.Is(4, "ftyp", 4)) {
        switch (BrandOf(in, fileLength)) {
        case Brand::Heif:
            return FindHeifExif(in, fileLength, out);
        case Brand::Canon:
            return FindCanonExif(in, fileLength, out);
        case Brand::None:
            break;
        }
    }
    return LocateOutcome::None;
}

// The byte ranges of a block the reader keeps, in the block's order.
std::size_t KeptRanges(const ExifBlock& block, FileExtent (&ranges)[kMaxExtents], bool& tooLarge)
{
    tooLarge = false;
    const std::size_t count = std::min(block.extentCount, kMaxExtents);
    if (count == 1) {
        ranges[0] = { block.extents[0].offset,
            std::min<std::uint64_t>(block.extents[0].length, kExifBlockReadSize) };
        return 1;
    }
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        ranges[i] = block.extents[i];
        if (ranges[i].length > kExifBlockReadSize - total) {
            tooLarge = true;
            return 0;
        }
        total += ranges[i].length;
    }
    return count;
}

} // namespace

LocateResult LocateContainerExif(
    const FileWindows& windows, std::uint64_t fileLength, ContainerExif& out)
{
    out = ContainerExif();
    Search search { windows, fileLength, false, {}, 0, 0 };
    const ContainerBytes bytes { &search, fileLength };
    LocateResult result;
    result.outcome = FindAny(bytes, fileLength, out);
    if (result.outcome == LocateOutcome::None && search.requested)
        return search.request;
    if (result.outcome != LocateOutcome::Found)
        out = ContainerExif();
    return result;
}

LocateResult BlockBytesNeeded(const FileWindows& windows, const ExifBlock& block)
{
    LocateResult result;
    FileExtent ranges[kMaxExtents];
    bool tooLarge = false;
    const std::size_t count = KeptRanges(block, ranges, tooLarge);
    if (tooLarge) {
        result.outcome = LocateOutcome::TooLarge;
        return result;
    }
    // One read from the first range missing to the end of the last, as far as one read goes.
    bool any = false;
    std::uint64_t from = 0;
    std::uint64_t to = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (ranges[i].length == 0 || windows.Field(ranges[i].offset, ranges[i].length) != nullptr)
            continue;
        const std::uint64_t end = ranges[i].offset + ranges[i].length; // inside the file
        from = any ? std::min(from, ranges[i].offset) : ranges[i].offset;
        to = any ? std::max(to, end) : end;
        any = true;
    }
    if (!any)
        return result;
    result.outcome = LocateOutcome::NeedRead;
    result.readOffset = from;
    result.readLength = static_cast<std::size_t>(std::min<std::uint64_t>(to - from, kBoxReadSize));
    return result;
}

std::size_t CopyBlockBytes(const FileWindows& windows, const ExifBlock& block, std::uint8_t* out)
{
    FileExtent ranges[kMaxExtents];
    bool tooLarge = false;
    const std::size_t count = KeptRanges(block, ranges, tooLarge);
    std::size_t copied = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = windows.Field(ranges[i].offset, ranges[i].length);
        if (p == nullptr)
            break;
        // KeptRanges keeps the sum within kExifBlockReadSize.
        std::memcpy(out + copied, p, static_cast<std::size_t>(ranges[i].length));
        copied += static_cast<std::size_t>(ranges[i].length);
    }
    return copied;
}

bool TiffHeaderInBlock(
    const std::uint8_t* bytes, std::size_t size, ExifBlockKind kind, std::size_t& base)
{
    const auto has = [size](std::uint64_t off, std::uint64_t n) {
        return off <= size && n <= size - off;
    };
    const auto orderMark = [bytes, &has](std::uint64_t off) {
        return has(off, 2) && bytes[off] == bytes[off + 1]
            && (bytes[off] == 'I' || bytes[off] == 'M');
    };
    switch (kind) {
    case ExifBlockKind::TiffImage:
    case ExifBlockKind::TiffExif:
        base = 0;
        return has(0, 2);
    case ExifBlockKind::HeifItem: {
        // Offset (4) from the byte after it to the TIFF header, usually 6 for "Exif\0\0".
        if (!has(0, 4))
            return false;
        const std::uint64_t skip = (std::uint64_t { bytes[0] } << 24)
            | (std::uint64_t { bytes[1] } << 16) | (std::uint64_t { bytes[2] } << 8) | bytes[3];
        if (!has(4 + skip, 2))
            return false;
        base = static_cast<std::size_t>(4 + skip);
        return true;
    }
    case ExifBlockKind::Jpeg:
        // FF D8 | FF E1 | length (2) | "Exif\0\0" | TIFF header: read as a JPEG file is,
        // from byte 12.
        if (!has(0, 2) || bytes[0] != 0xFF || bytes[1] != 0xD8 || !has(12, 2))
            return false;
        base = 12;
        return true;
    case ExifBlockKind::TiffOrExifId:
        if (orderMark(0)) {
            base = 0;
            return true;
        }
        if (has(0, 6) && std::memcmp(bytes, "Exif\0\0", 6) == 0 && orderMark(6)) {
            base = 6;
            return true;
        }
        return false;
    }
    return false;
}
