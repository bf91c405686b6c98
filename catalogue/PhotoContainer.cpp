// SPDX-License-Identifier: MIT
#include "catalogue/PhotoContainer.h"

#include <algorithm>
#include <cstring>

namespace {

// The bytes read from the file's start. Every field of these containers is big-endian;
// offsets are file offsets, which here are also positions in the bytes.
struct ContainerBytes {
    const std::uint8_t* data;
    std::uint64_t size;

    // The one way to reach a field: n bytes at off, or null when any of them lies outside
    // the bytes read.
    const std::uint8_t* Field(std::uint64_t off, std::uint64_t n) const
    {
        if (off <= size && n <= size - off)
            return data + off;
        return nullptr;
    }

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
    if (out.count < 2)
        out.blocks[out.count++] = { offset, length, kind };
}

// ---- ISO base media files: HEIF, HEIC, AVIF and CR3 ----------------------------------
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
        const ContainerBytes in { bytes.data, std::min(bytes.size, infe.end) };
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

// The file place of the first extent of item itemId. idat may be absent (its end 0).
bool LocateItem(const ContainerBytes& all, const Box& iloc, const Box& idat, bool haveIdat,
    std::uint64_t itemId, std::uint64_t fileLength, std::uint64_t& offset, std::uint64_t& length)
{
    // Fields are read only inside the iloc box.
    const ContainerBytes bytes { all.data, std::min(all.size, iloc.end) };
    std::uint64_t version = 0;
    std::uint64_t sizes = 0;
    if (!bytes.Uint(iloc.payload, 1, version) || version > 2
        || !bytes.Uint(iloc.payload + 4, 2, sizes))
        return false;
    const std::uint64_t offsetSize = sizes >> 12;
    const std::uint64_t lengthSize = (sizes >> 8) & 15;
    const std::uint64_t baseSize = (sizes >> 4) & 15;
    const std::uint64_t indexSize = version == 0 ? 0 : sizes & 15;
    if (!ValidFieldSize(offsetSize) || !ValidFieldSize(lengthSize) || !ValidFieldSize(baseSize)
        || !ValidFieldSize(indexSize))
        return false;
    const std::uint64_t idSize = version == 2 ? 4 : 2;
    std::uint64_t items = 0;
    std::uint64_t at = iloc.payload + 6;
    if (!bytes.Uint(at, idSize, items))
        return false;
    at += idSize;
    const std::uint64_t extentSize = indexSize + offsetSize + lengthSize; // at most 24
    // Every item takes at least 6 bytes, so the bytes read bound the loop; a count that
    // claims more ends where the bytes or the box end.
    for (std::uint64_t i = 0; i < items && at < iloc.end; ++i) {
        std::uint64_t id = 0;
        std::uint64_t method = 0;
        std::uint64_t reference = 0;
        std::uint64_t base = 0;
        std::uint64_t extents = 0;
        if (!bytes.Uint(at, idSize, id))
            return false;
        at += idSize;
        if (version >= 1) {
            if (!bytes.Uint(at, 2, method))
                return false;
            method &= 15;
            at += 2;
        }
        if (!bytes.Uint(at, 2, reference) || !bytes.Uint(at + 2, baseSize, base)
            || !bytes.Uint(at + 2 + baseSize, 2, extents))
            return false;
        at += 2 + baseSize + 2;
        if (id != itemId) {
            at += extents * extentSize; // at most 65535 * 24: no wrap
            continue;
        }
        // Data in another file, or built from other items, is not read; nor is an item
        // without extents.
        std::uint64_t extentOffset = 0;
        if (reference != 0 || method > 1 || extents == 0
            || !bytes.Uint(at + indexSize, offsetSize, extentOffset)
            || !bytes.Uint(at + indexSize + offsetSize, lengthSize, length))
            return false;
        std::uint64_t regionStart = 0;
        std::uint64_t regionEnd = fileLength;
        if (method == 1) {
            if (!haveIdat)
                return false;
            regionStart = idat.payload;
            regionEnd = idat.end;
        }
        // offset = regionStart + base + extentOffset, each step checked against the region.
        if (base > regionEnd - regionStart || extentOffset > regionEnd - regionStart - base)
            return false;
        offset = regionStart + base + extentOffset;
        if (length == 0)
            length = regionEnd - offset;
        return length <= regionEnd - offset && InsideFile(offset, length, fileLength);
    }
    return false;
}

bool FindHeifExif(const ContainerBytes& bytes, std::uint64_t fileLength, ContainerExif& out)
{
    std::uint64_t at = 0;
    Box meta;
    Box box;
    bool haveMeta = false;
    for (std::uint64_t n = 0; n < kMaxBoxesPerLevel && NextBox(bytes, at, fileLength, box); ++n) {
        if (box.type == FourCc("meta")) {
            meta = box;
            haveMeta = true;
            break;
        }
    }
    if (!haveMeta)
        return false;
    const std::uint64_t children = meta.payload + 4; // meta is a full box
    Box iinf;
    Box iloc;
    Box idat;
    std::uint64_t itemId = 0;
    if (children > meta.end || !FindChild(bytes, children, meta.end, FourCc("iinf"), iinf)
        || !FindExifItem(bytes, iinf, itemId)
        || !FindChild(bytes, children, meta.end, FourCc("iloc"), iloc))
        return false;
    const bool haveIdat = FindChild(bytes, children, meta.end, FourCc("idat"), idat);
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    if (!LocateItem(bytes, iloc, idat, haveIdat, itemId, fileLength, offset, length) || length == 0)
        return false;
    Add(out, offset, length, ExifBlockKind::HeifItem);
    return true;
}

// CR3: moov holds a 'uuid' box of Canon's whose children CMT1 (a TIFF block, IFD0 first)
// and CMT2 (a TIFF block, the EXIF directory first) are what a JPEG's EXIF segment holds.
bool FindCanonExif(const ContainerBytes& bytes, std::uint64_t fileLength, ContainerExif& out)
{
    static const std::uint8_t kCanonUuid[16] = { 0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f, 0x11, 0xe0,
        0x81, 0x11, 0xf4, 0xce, 0x46, 0x2b, 0x6a, 0x48 };
    Box moov;
    if (!FindChild(bytes, 0, fileLength, FourCc("moov"), moov))
        return false;
    std::uint64_t at = moov.payload;
    Box box;
    for (std::uint64_t n = 0; n < kMaxBoxesPerLevel && NextBox(bytes, at, moov.end, box); ++n) {
        const std::uint8_t* user = bytes.Field(box.payload - 16, 16);
        if (box.type != FourCc("uuid") || user == nullptr
            || std::memcmp(user, kCanonUuid, sizeof kCanonUuid) != 0)
            continue;
        Box cmt;
        if (FindChild(bytes, box.payload, box.end, FourCc("CMT1"), cmt))
            Add(out, cmt.payload, cmt.end - cmt.payload, ExifBlockKind::TiffImage);
        if (FindChild(bytes, box.payload, box.end, FourCc("CMT2"), cmt))
            Add(out, cmt.payload, cmt.end - cmt.payload, ExifBlockKind::TiffExif);
        return out.count > 0;
    }
    return false;
}

// ---- RAF ------------------------------------------------------------------------------
//
// "FUJIFILMCCD-RAW " (16) | format version (4) | camera ID (8) | camera name (32) | ...
// at 84: offset of the embedded JPEG (4) | its length (4). The JPEG starts with
// FF D8 FF E1 and the EXIF segment's length (2), which bounds what has to be read.
bool FindRafExif(const ContainerBytes& bytes, std::uint64_t fileLength, ContainerExif& out)
{
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    if (!bytes.Uint(84, 4, offset) || !bytes.Uint(88, 4, length) || length == 0
        || !InsideFile(offset, length, fileLength))
        return false;
    std::uint64_t segment = 0;
    if (bytes.Is(offset, "\xFF\xD8\xFF\xE1", 4) && bytes.Uint(offset + 4, 2, segment))
        length = std::min(length, 4 + segment);
    else
        length = std::min<std::uint64_t>(length, kExifSecondReadSize);
    Add(out, offset, length, ExifBlockKind::Jpeg);
    return true;
}

// ---- MRW ------------------------------------------------------------------------------
//
// "\0MRM" (4) | length of the blocks that follow (4) | blocks: name (4) | length (4) |
// data. The "\0TTW" block holds a TIFF block.
bool FindMrwExif(const ContainerBytes& bytes, std::uint64_t fileLength, ContainerExif& out)
{
    std::uint64_t length = 0;
    if (!bytes.Uint(4, 4, length))
        return false;
    const std::uint64_t end
        = 8 + std::min(length, fileLength - std::min<std::uint64_t>(fileLength, 8));
    std::uint64_t at = 8;
    for (int n = 0; n < 64; ++n) {
        std::uint64_t blockLength = 0;
        if (at > end || end - at < 8 || !bytes.Uint(at + 4, 4, blockLength)
            || blockLength > end - at - 8)
            return false;
        if (bytes.Is(at, "\0TTW", 4)) {
            if (blockLength == 0)
                return false;
            Add(out, at + 8, blockLength, ExifBlockKind::TiffImage);
            return true;
        }
        at += 8 + blockLength;
    }
    return false;
}

} // namespace

bool FindContainerExif(
    const std::uint8_t* bytes, std::size_t size, std::uint64_t fileLength, ContainerExif& out)
{
    out = ContainerExif();
    if (bytes == nullptr)
        return false;
    // The bytes read can never be more than the file holds.
    const ContainerBytes in { bytes, std::min<std::uint64_t>(size, fileLength) };
    if (in.Is(0, "FUJIFILMCCD-RAW ", 16))
        return FindRafExif(in, fileLength, out);
    if (in.Is(0, "\0MRM", 4))
        return FindMrwExif(in, fileLength, out);
    if (in.Is(4, "ftyp", 4)) {
        switch (BrandOf(in, fileLength)) {
        case Brand::Heif:
            return FindHeifExif(in, fileLength, out);
        case Brand::Canon:
            return FindCanonExif(in, fileLength, out);
        case Brand::None:
            break;
        }
    }
    return false;
}

bool SecondReadRange(
    const ContainerExif& exif, std::size_t size, std::uint64_t& offset, std::size_t& length)
{
    bool any = false;
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    for (std::size_t i = 0; i < exif.count && i < 2; ++i) {
        const ExifBlock& block = exif.blocks[i];
        if (block.offset <= size && block.length <= size - block.offset)
            continue; // wholly read
        const std::uint64_t end = block.offset
            + std::min<std::uint64_t>(block.length, ~std::uint64_t { 0 } - block.offset);
        first = any ? std::min(first, block.offset) : block.offset;
        last = any ? std::max(last, end) : end;
        any = true;
    }
    if (!any)
        return false;
    offset = first;
    length = static_cast<std::size_t>(std::min<std::uint64_t>(last - first, kExifSecondReadSize));
    return length > 0;
}

bool TiffHeaderInBlock(
    const std::uint8_t* bytes, std::size_t size, ExifBlockKind kind, std::size_t& base)
{
    const ContainerBytes in { bytes, size };
    switch (kind) {
    case ExifBlockKind::TiffImage:
    case ExifBlockKind::TiffExif:
        base = 0;
        return in.Field(0, 2) != nullptr;
    case ExifBlockKind::HeifItem: {
        // Offset (4) from the byte after it to the TIFF header, usually 6 for "Exif\0\0".
        std::uint64_t skip = 0;
        if (!in.Uint(0, 4, skip) || in.Field(4 + skip, 2) == nullptr)
            return false;
        base = static_cast<std::size_t>(4 + skip);
        return true;
    }
    case ExifBlockKind::Jpeg:
        // FF D8 | FF E1 | length (2) | "Exif\0\0" | TIFF header: read as a JPEG file is,
        // from byte 12.
        if (!in.Is(0, "\xFF\xD8", 2) || in.Field(12, 2) == nullptr)
            return false;
        base = 12;
        return true;
    }
    return false;
}
