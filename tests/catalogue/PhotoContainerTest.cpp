// SPDX-License-Identifier: MIT
#include "catalogue/PhotoContainer.h"

#include <gtest/gtest.h>

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "catalogue/ExifReader.h"
#include "catalogue/PathSource.h"
#include "catalogue/PhotoCatalogue.h"
#include "catalogue/ScanLoop.h"
#include "tests/catalogue/ContainerTestFiles.h"

namespace {

// The reads ReadFileStart makes, over a file held in memory: its first 32 KiB and, where
// LocateExif asks, the second read; then the scan's parse. Bytes not read are
// poisoned, so that the address sanitizer sees any parse that strays into them.
struct MemoryRead {
    FileStart start;
    Fields fields; // of the record, whether or not the file was accepted
    Fields far; // of its directories read past the first read, for the expanded window
    bool accepted = false;
};

// With FOTOLOT_FUZZ_SEEDS naming a folder, every file read is saved there too, as a seed
// of the fuzz target (tests/fuzz/seeds/container-* were made so).
void SaveSeed(const Bytes& file)
{
    const char* folder = std::getenv("FOTOLOT_FUZZ_SEEDS");
    if (folder == nullptr)
        return;
    char name[32];
    std::snprintf(name, sizeof name, "/%016zx",
        std::hash<std::string>()(std::string(file.begin(), file.end())));
    std::ofstream(folder + std::string(name), std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
}

MemoryRead ReadFromMemory(const Bytes& file)
{
    SaveSeed(file);
    MemoryRead result;
    const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kFileStartBufferSize]);
    std::uint8_t* bytes = buffer.get();
    FileStart& start = result.start;
    ReadMemoryStart(file.data(), file.size(), bytes, start);
    // Only the first read and what the areas hold are the parse's to read.
    std::size_t held[2] = { 0, 0 };
    for (std::size_t i = 0; i < start.blockCount; ++i) {
        if (start.blocks[i].at >= kBlockAreaAt)
            held[(start.blocks[i].at - kBlockAreaAt) / kExifBlockReadSize] = start.blocks[i].size;
    }
    for (std::size_t i = 0; i < start.pieceCount; ++i)
        held[(start.pieces[i].at - kBlockAreaAt) / kExifBlockReadSize] = start.pieces[i].size;
    ASAN_POISON_MEMORY_REGION(bytes + start.size, kBlockAreaAt - start.size);
    for (std::size_t i = 0; i < 2; ++i)
        ASAN_POISON_MEMORY_REGION(
            bytes + kBlockAreaAt + i * kExifBlockReadSize + held[i], kExifBlockReadSize - held[i]);
    PhotoRecord record;
    result.accepted = ParsePhoto("photo", bytes, start, record);
    result.fields = Of(record);
    if (const auto& far = record.extras.directories)
        result.far
            = { far->camera, far->fNumber, far->focalLength, far->iso, far->exposureTime, 0 };
    // A FileStart that ReadFurther has not seen makes the parse look for the blocks in the
    // first read itself, with the same outcome when they lie there.
    if (start.reads == 1 && held[0] == 0 && held[1] == 0) {
        FileStart unlocated = start;
        unlocated.located = false;
        PhotoRecord again;
        EXPECT_EQ(ParsePhoto("photo", bytes, unlocated, again), result.accepted);
        EXPECT_EQ(Of(again), result.fields);
    }
    ASAN_UNPOISON_MEMORY_REGION(bytes, kFileStartBufferSize);
    return result;
}

// How a test HEIF file stores its Exif item.
struct HeifLayout {
    int ilocVersion; // 0, 1 or 2
    int offsetSize, lengthSize, baseSize, indexSize; // bytes: 0, 4 or 8
    int method; // 0: file offsets, 1: inside idat
    std::uint64_t exifAt; // file offset of the item (method 0); 0: right after meta
    int infeVersion; // 2 or 3
    bool bigEndian; // the TIFF block's byte order
};

// ftyp "heic"; meta with hdlr, iinf (item 1 'hvc1', item 2 'Exif'), iloc as the layout
// says and, for method 1, idat (4 bytes of another item, then the Exif item); mdat. With
// file offsets the Exif item ends the file (so that a length of 0, "to the end", fits):
// mdat is padded to put it at exifAt. An offset split over base and extent when both have
// a size. The brand is "avif" when avif; with compatibleOnly the major brand is "isom" and
// "heic" is named among the compatible ones alone. The item's TIFF header follows its
// offset field after gap bytes ("Exif\0\0" when 6).
Bytes HeifFile(const HeifLayout& l, bool avif = false, bool compatibleOnly = false, int gap = 6)
{
    const Bytes exif = gap == 6
        ? HeifExifPayload(l.bigEndian)
        : Cat({ Be(static_cast<std::uint64_t>(gap), 4), Bytes(static_cast<std::size_t>(gap), 0x78),
            TiffBlock(l.bigEndian) });
    const Bytes ftyp = Box("ftyp",
        avif                 ? Cat({ Text("avif"), Be(0, 4), Text("mif1miafMA1B") })
            : compatibleOnly ? Cat({ Text("isom"), Be(0, 4), Text("iso2heic") })
                             : Cat({ Text("heic"), Be(0, 4), Text("mif1heic") }));
    auto infe = [&l](std::uint64_t id, const char* type) {
        return FullBox("infe", l.infeVersion,
            Cat({ Be(id, l.infeVersion == 2 ? 2 : 4), Be(0, 2), Text(type), Bytes { 0 } }));
    };
    const Bytes iinf = FullBox("iinf", 0, Cat({ Be(2, 2), infe(1, "hvc1"), infe(2, "Exif") }));
    const int idSize = l.ilocVersion == 2 ? 4 : 2;
    // The meta box for an Exif item at target (file offset, or offset in idat's data).
    auto meta = [&](std::uint64_t target) {
        const std::uint64_t base = l.offsetSize == 0 ? target : l.baseSize == 0 ? 0 : target / 2;
        const std::uint64_t extent = target - base;
        auto item = [&](std::uint64_t id, int method, std::uint64_t b, std::uint64_t off,
                        std::uint64_t length) {
            return Cat({ Be(id, idSize),
                l.ilocVersion > 0 ? Be(static_cast<std::uint64_t>(method), 2) : Bytes(), Be(0, 2),
                Be(b, l.baseSize), Be(1, 2), Be(7, l.indexSize), Be(off, l.offsetSize),
                Be(length, l.lengthSize) });
        };
        const Bytes iloc = FullBox("iloc", l.ilocVersion,
            Cat({ Be(static_cast<std::uint64_t>(l.offsetSize * 16 + l.lengthSize), 1),
                Be(static_cast<std::uint64_t>(
                       l.baseSize * 16 + (l.ilocVersion > 0 ? l.indexSize : 0)),
                    1),
                Be(2, idSize), item(1, 0, 0, 0, 0),
                item(2, l.method, base, extent, exif.size()) }));
        const Bytes idat
            = l.method == 1 ? Box("idat", Cat({ Bytes(target, 0x44), exif })) : Bytes();
        return FullBox("meta", 0,
            Cat({ FullBox("hdlr", 0, Cat({ Be(0, 4), Text("pict"), Bytes(13, 0) })), iinf, iloc,
                idat }));
    };
    if (l.method == 1) {
        const std::uint64_t inIdat = l.offsetSize == 0 && l.baseSize == 0 ? 0 : 4;
        return Cat({ ftyp, meta(inIdat), Box("mdat", Bytes(16, 0)) });
    }
    const std::uint64_t metaEnd = ftyp.size() + meta(0).size();
    const std::uint64_t exifAt = std::max(l.exifAt, metaEnd + 8);
    return Cat({ ftyp, meta(exifAt), Box("mdat", Cat({ Bytes(exifAt - metaEnd - 8, 0), exif })) });
}

// Writes a 32-bit big-endian value at at.
Bytes With32(Bytes bytes, std::size_t at, std::uint32_t value)
{
    const Bytes v = Be(value, 4);
    std::copy(v.begin(), v.end(), bytes.begin() + static_cast<long>(at));
    return bytes;
}

// Where the first box of type starts in bytes.
std::size_t Find(const Bytes& bytes, const std::string& type)
{
    return static_cast<std::size_t>(
               std::search(bytes.begin(), bytes.end(), type.begin(), type.end()) - bytes.begin())
        - 4;
}

} // namespace

// Every iloc version with every field size (0, 4 or 8 bytes), file offsets and idat, infe
// versions 2 and 3, both TIFF byte orders; beyond the first 32 KiB the item takes the one
// second read of at most 64 KiB at its offset.
TEST(PhotoContainer, HeifExifItemsInEveryIlocLayoutAndBothByteOrders)
{
    // iloc version, offset, length, base offset and index sizes, construction method,
    // Exif item's file offset, infe version, big-endian; the second read's offset (0: none).
    using Row = std::pair<HeifLayout, std::uint64_t>;
    const Row rows[]
        = { { { 0, 4, 4, 0, 0, 0, 0, 2, false }, 0 }, { { 0, 8, 8, 4, 0, 0, 0, 3, true }, 0 },
              { { 0, 0, 4, 8, 0, 0, 0, 2, true }, 0 }, { { 1, 4, 0, 0, 4, 0, 0, 2, false }, 0 },
              { { 1, 0, 0, 4, 8, 0, 0, 3, true }, 0 }, { { 1, 4, 4, 0, 0, 1, 0, 2, true }, 0 },
              { { 1, 0, 0, 0, 0, 1, 0, 3, false }, 0 }, { { 2, 8, 4, 8, 4, 1, 0, 2, false }, 0 },
              { { 2, 4, 8, 0, 0, 0, 0, 3, true }, 0 }, { { 2, 0, 0, 8, 8, 0, 0, 2, false }, 0 },
              // Beyond the first read: at 40,000, and straddling its end at 32,700.
              { { 1, 4, 4, 0, 0, 0, 40000, 2, false }, 40000 },
              { { 2, 8, 8, 4, 0, 0, 40000, 3, true }, 40000 },
              { { 0, 4, 0, 4, 0, 0, 32700, 2, true }, 32700 } };
    for (const auto& [layout, secondAt] : rows) {
        const Bytes file = HeifFile(layout);
        const MemoryRead read = ReadFromMemory(file);
        SCOPED_TRACE(testing::Message() << layout.ilocVersion << " " << layout.offsetSize
                                        << layout.lengthSize << layout.baseSize << " " << secondAt);
        ASSERT_TRUE(read.accepted);
        EXPECT_EQ(std::make_tuple(read.fields, read.start.reads),
            std::make_tuple(FujiFields(), secondAt == 0 ? 1 : 2));
    }
    // AVIF, by its major brand; a HEIC named only among the compatible brands; an item whose
    // TIFF header follows its offset field at once, or after 9 bytes.
    const HeifLayout plain { 0, 4, 4, 0, 0, 0, 0, 2, true };
    for (const Bytes& file : { HeifFile(plain, true), HeifFile(plain, false, true),
             HeifFile(plain, false, false, 0), HeifFile(plain, false, false, 9) })
        EXPECT_EQ(ReadFromMemory(file).fields, FujiFields());
}

// CR3 (CMT1 as IFD0, CMT2 as the EXIF directory), RAF (its JPEG's EXIF segment) and MRW
// (the TTW block) in both byte orders; RW2 takes IFD0's ISO when the EXIF directory gives
// none, and a TIFF file does not; a JPEG whose first segment is JFIF stays rejected.
TEST(PhotoContainer, Cr3RafMrwAndRw2InBothByteOrders)
{
    for (const bool bigEndian : { false, true }) {
        // A RAF whose JPEG starts beyond the first read is read with a second one.
        for (const Bytes& file : { Cr3File(bigEndian), RafFile(bigEndian), MrwFile(bigEndian),
                 RafFile(bigEndian, 50000) }) {
            const MemoryRead read = ReadFromMemory(file);
            ASSERT_TRUE(read.accepted) << bigEndian << " " << file.size();
            EXPECT_EQ(read.fields, FujiFields()) << bigEndian << " " << file.size();
            EXPECT_EQ(read.start.reads, file.size() > 50000 ? 2 : 1);
        }
        // Without CMT2: the camera alone.
        EXPECT_EQ(ReadFromMemory(Cr3File(bigEndian, false)).fields,
            Fields("Fujifilm X-T5", 0, 0, 0, 0, 0));

        // RW2 ("IIU\0"): ISO 80 from IFD0 only where the EXIF directory gives none.
        using Rw2Row = std::tuple<std::uint16_t, bool, double>; // magic, EXIF ISO 0, ISO read
        for (const auto& [magic, iso0, iso] :
            { Rw2Row { 0x55, true, 80 }, Rw2Row { 0x55, false, 125 }, Rw2Row { 42, true, 0 } }) {
            const MemoryRead read
                = ReadFromMemory(TiffBlock(bigEndian, Directories::Both, magic, 80, iso0));
            ASSERT_TRUE(read.accepted);
            EXPECT_EQ(std::get<3>(read.fields), iso) << magic << iso0;
        }
    }
    const MemoryRead jfif
        = ReadFromMemory(Cat({ Hex("FFD8FFE0 0010 4A464946 00 0101 00 0001 0001 0000"),
            Hex("FFE1 0094 457869660000"), Bytes(kBigEndian.begin() + 12, kBigEndian.end()) }));
    EXPECT_FALSE(jfif.accepted);
    EXPECT_EQ(jfif.fields, Fields());
}

// Hostile and broken containers are rejected, or read as far as they are sound, never
// read outside the bytes read (the sanitizer build checks that) and never hang.
TEST(PhotoContainer, HostileContainersAreRejectedOrReadPartly)
{
    // iloc version 1 with 4-byte offsets and lengths: item 2 (Exif) is the second of two
    // 16-byte items after the box's 16 bytes of header, version, sizes and count.
    const Bytes heic = HeifFile({ 1, 4, 4, 0, 0, 0, 0, 2, true });
    const std::size_t meta = Find(heic, "meta"), iloc = Find(heic, "iloc");
    const std::size_t exifExtent = iloc + 16 + 16 + 8; // its offset, then its length
    const std::size_t exifAt = heic.size() - HeifExifPayload(true).size();
    ASSERT_EQ(
        Be(exifAt, 4), Bytes(heic.begin() + long(exifExtent), heic.begin() + long(exifExtent) + 4));
    // The same inside idat, which a longer meta header does not move; its meta's payload.
    const Bytes inIdat = HeifFile({ 1, 4, 4, 0, 0, 1, 0, 2, true });
    const std::size_t idatMeta = Find(inIdat, "meta");
    const Bytes ftyp(inIdat.begin(), inIdat.begin() + long(idatMeta));
    const Bytes metaPayload(inIdat.begin() + long(idatMeta) + 8, inIdat.end() - 24); // mdat: 24
    // iloc version 2 with 4-byte item IDs and count; infe version 3.
    const Bytes v2 = HeifFile({ 2, 4, 4, 0, 0, 0, 0, 3, false });
    const std::size_t v2Count = Find(v2, "iloc") + 14;
    const std::size_t exifId = static_cast<std::size_t>(
        std::search(v2.begin(), v2.end(), std::begin("Exif"), std::begin("Exif") + 4) - v2.begin()
        - 6);
    // Base offsets of 4 bytes and nothing else: every extent takes 0 bytes.
    const Bytes noExtentBytes = HeifFile({ 1, 0, 0, 4, 0, 0, 0, 2, true });
    const std::size_t firstExtentCount = Find(noExtentBytes, "iloc") + 16 + 2 + 2 + 2 + 4;

    Bytes nested = Box("meta", Bytes());
    for (int i = 0; i < 5000; ++i)
        nested = FullBox("meta", 0, nested);
    const Bytes raf = RafFile(true), mrw = MrwFile(false), cr3 = Cr3File(true);
    using Row = std::tuple<const char*, Bytes, bool>;
    const Row rows[] = {
        { "Exif item beyond the end", With32(heic, exifExtent, 0x7FFFFFF0), false },
        { "Exif item one byte too long",
            With32(heic, exifExtent + 4, std::uint32_t(HeifExifPayload(true).size() + 1)), false },
        { "Exif payload offset outside", With32(heic, exifAt, 0xFFFFFFF0), false },
        { "Exif payload offset past the item", With32(heic, exifAt, 300), false },
        { "cut in meta", Bytes(heic.begin(), heic.begin() + long(meta + 30)), false },
        { "cut in iloc", Bytes(heic.begin(), heic.begin() + long(iloc + 20)), false },
        { "iloc version 3", With32(heic, iloc + 8, 0x03000000), false },
        { "cut in the Exif item", Bytes(heic.begin(), heic.end() - 20), false },
        { "meta of size 0, to the end", With32(heic, meta, 0), true },
        { "meta of size 7", With32(heic, meta, 7), false },
        { "meta past the end", With32(heic, meta, 0x7FFFFFFF), false },
        { "meta of size 1, 64-bit size",
            Cat({ ftyp, Be(1, 4), Text("meta"), Be(16 + metaPayload.size(), 8), metaPayload }),
            true },
        { "meta of size 1, 2^64 - 1 bytes",
            Cat({ ftyp, Be(1, 4), Text("meta"), Be(~0ull, 8), metaPayload }), false },
        { "meta of size 1, cut in its 64-bit size", Cat({ ftyp, Be(1, 4), Text("meta"), Be(0, 3) }),
            false },
        { "10^6 items declared, the Exif one second", With32(v2, v2Count, 1000000), true },
        { "10^6 items declared, none the Exif one", With32(With32(v2, v2Count, 1000000), exifId, 3),
            false },
        { "65,535 extents of 0 bytes", With32(noExtentBytes, firstExtentCount - 2, 0xFFFF), true },
        { "meta nested in itself 5,000 times",
            Cat({ Box("ftyp", Text(std::string("heic\0\0\0\0mif1", 12))), nested }), false },
        { "a video's ftyp", Box("ftyp", Text(std::string("mp42\0\0\0\0isom", 12))), false },
        { "RAF's JPEG outside the file", With32(raf, 84, std::uint32_t(raf.size())), false },
        { "RAF's JPEG past the end", With32(raf, 88, std::uint32_t(raf.size())), false },
        { "RAF's JPEG of 0 bytes", With32(raf, 88, 0), false },
        { "MRW's TTW past the end", With32(mrw, 8 + 32 + 4, 0x00FFFFFF), false },
        { "CR3's uuid another's", With32(cr3, Find(cr3, "uuid") + 8, 0x12345678), false },
    };
    for (const auto& [name, bytes, accepted] : rows) {
        const MemoryRead read = ReadFromMemory(bytes);
        EXPECT_EQ(read.accepted, accepted) << name;
        EXPECT_EQ(read.fields, accepted ? FujiFields() : Fields()) << name;
    }
}

// Through real files: ReadFileStart makes the second read only for a block beyond the first
// 32 KiB (never for a JPEG), and the scan with its read-ahead gives every file's record in
// file order.
TEST(PhotoContainer, ABlockBeyondTheFirstReadTakesOneSecondReadAlsoInTheScan)
{
    TempDir dir;
    const Bytes tail = HeifFile({ 1, 4, 4, 0, 0, 0, 40000, 2, true });
    const Bytes beyondEnd = With32(tail, Find(tail, "iloc") + 40, 0x7FFFFFF0);
    const Fields sony("Sony CAM-5", 2.8, 50, 100, 1.0 / 125, 0);
    // Name, bytes, accepted fields (empty camera: rejected), reads made.
    using Row = std::tuple<const char*, Bytes, Fields, int>;
    const Row rows[] = { { "tail.heic", tail, FujiFields(), 2 },
        { "photo.jpg", kBigEndian, sony, 1 }, { "far.raf", RafFile(false, 50000), FujiFields(), 2 },
        { "beyond.heic", beyondEnd, Fields(), 1 } };
    std::vector<std::string> paths, all;
    std::vector<Fields> expected, thrice;
    const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kFileStartBufferSize]);
    for (const auto& [name, bytes, fields, reads] : rows) {
        paths.push_back(dir.Write(name, bytes));
        FileStart start;
        ASSERT_TRUE(ReadFileStart(paths.back(), buffer.get(), start)) << name;
        EXPECT_EQ(std::make_tuple(start.size, start.length, start.reads),
            std::make_tuple(std::min(bytes.size(), kExifReadSize), bytes.size(), reads))
            << name;
        if (!std::get<0>(fields).empty())
            expected.push_back(fields);
    }
    // Three times over, through a ring of 4 slots and 3 reads in flight: every accepted
    // record in file order, the rejected file left out.
    for (int round = 0; round < 3; ++round) {
        all.insert(all.end(), paths.begin(), paths.end());
        thrice.insert(thrice.end(), expected.begin(), expected.end());
    }
    PhotoCatalogue catalogue;
    BeginScan(catalogue);
    PathListSource source(all);
    ScanChosenFiles(catalogue, source, { ReadFileStart, 3, 4 });
    std::vector<Fields> scanned;
    for (const PhotoRecord* r = catalogue.head.get(); r != catalogue.spare; r = r->next.get())
        scanned.push_back(Of(*r));
    EXPECT_EQ(scanned, thrice);
}

namespace {

// meta with hdlr, iinf (item 1 'hvc1', item 2 'Exif'), an 'iprp' of padding bytes and iloc
// (version 1, 4-byte offsets and lengths) placing item 2 at extents (offset, length).
Bytes Meta(
    const std::vector<std::pair<std::uint64_t, std::uint64_t>>& extents, std::size_t padding = 0)
{
    auto infe = [](std::uint64_t id, const char* type) {
        return FullBox("infe", 2, Cat({ Be(id, 2), Be(0, 2), Text(type), Bytes { 0 } }));
    };
    Bytes items = Cat(
        { Hex("0001 0000 0000 0001 00000000 00000000 0002 0000 0000"), Be(extents.size(), 2) });
    for (const auto& [offset, length] : extents)
        items = Cat({ items, Be(offset, 4), Be(length, 4) });
    return FullBox("meta", 0,
        Cat({ FullBox("hdlr", 0, Cat({ Be(0, 4), Text("pict"), Bytes(13, 0) })),
            FullBox("iinf", 0, Cat({ Be(2, 2), infe(1, "hvc1"), infe(2, "Exif") })),
            Box("iprp", Bytes(padding, 0x11)),
            FullBox("iloc", 1, Cat({ Hex("4400 0002"), items })) }));
}

const Bytes kHeicFtyp = Box("ftyp", Cat({ Text("heic"), Be(0, 4), Text("mif1heic") }));

// An HEIC whose mdat (of mdatSize payload bytes, 64-bit size when size64) comes first and
// meta last; the Exif item's bytes, split into the given pieces, lie at the given offsets
// inside mdat's payload (the pieces in the item's order).
Bytes MdatFirst(bool bigEndian, std::vector<std::uint64_t> at, std::uint64_t mdatSize,
    bool size64 = false, std::size_t padding = 0)
{
    const Bytes exif = HeifExifPayload(bigEndian);
    const std::uint64_t payload = kHeicFtyp.size() + (size64 ? 16 : 8);
    Bytes mdat(mdatSize, 0);
    std::vector<std::pair<std::uint64_t, std::uint64_t>> extents;
    const std::size_t piece = (exif.size() + at.size() - 1) / at.size();
    for (std::size_t i = 0; i < at.size(); ++i) {
        const std::size_t from = i * piece, to = std::min(exif.size(), from + piece);
        std::copy(exif.begin() + long(from), exif.begin() + long(to), mdat.begin() + long(at[i]));
        extents.push_back({ payload + at[i], to - from });
    }
    const Bytes header = size64 ? Cat({ Be(1, 4), Text("mdat"), Be(16 + mdatSize, 8) })
                                : Cat({ Be(8 + mdatSize, 4), Text("mdat") });
    return Cat({ kHeicFtyp, header, mdat, Meta(extents, padding) });
}

// A TIFF file with IFD0 (Make, Model, the EXIF pointer) at ifd0 and the EXIF directory
// (TiffBlock's four values) at exif, each followed by its values.
Bytes FarTiff(bool bigEndian, std::uint32_t ifd0, std::uint32_t exif)
{
    const bool le = !bigEndian;
    Bytes out(std::max(ifd0, exif) + 200, 0);
    auto put = [&out](std::size_t at, const Bytes& bytes) {
        std::copy(bytes.begin(), bytes.end(), out.begin() + long(at));
    };
    auto entry = [le](std::uint16_t tag, std::uint16_t type, std::uint32_t count, Bytes value) {
        value.resize(4, 0);
        return Cat({ Be(tag, 2, le), Be(type, 2, le), Be(count, 4, le), value });
    };
    put(0, Cat({ Text(bigEndian ? "MM" : "II"), Be(42, 2, le), Be(ifd0, 4, le) }));
    const std::uint32_t texts = ifd0 + 2 + 36 + 4;
    put(ifd0,
        Cat({ Be(3, 2, le), entry(0x010F, 2, 9, Be(texts, 4, le)),
            entry(0x0110, 2, 5, Be(texts + 9, 4, le)), entry(0x8769, 4, 1, Be(exif, 4, le)),
            Be(0, 4), Text(std::string("FUJIFILM\0X-T5\0", 14)) }));
    const std::uint32_t values = exif + 2 + 48 + 4;
    auto rational = [le](std::uint32_t n, std::uint32_t d) {
        return Cat({ Be(n, 4, le), Be(d, 4, le) });
    };
    put(exif,
        Cat({ Be(4, 2, le), entry(0x829A, 5, 1, Be(values, 4, le)),
            entry(0x829D, 5, 1, Be(values + 8, 4, le)), entry(0x8827, 3, 1, Be(125, 2, le)),
            entry(0x920A, 5, 1, Be(values + 16, 4, le)), Be(0, 4), rational(1, 500),
            rational(56, 10), rational(23, 1) }));
    return out;
}

// A PNG chunk (CRC not checked, left 0), a WebP chunk (padded to even) and a JPEG XL box.
Bytes PngChunk(const char* type, const Bytes& data)
{
    return Cat({ Be(data.size(), 4), Text(type), data, Be(0, 4) });
}
Bytes WebpChunk(const char* type, const Bytes& data)
{
    return Cat({ Text(type), Be(data.size(), 4, true), data, Bytes(data.size() % 2, 0) });
}

const Bytes kPngStart = Cat({ Hex("89504E470D0A1A0A"), PngChunk("IHDR", Bytes(13, 1)) });

Bytes Png(const Bytes& before, const Bytes& after, int idats = 200)
{
    Bytes out = Cat({ kPngStart, before });
    for (int i = 0; i < idats; ++i)
        out = Cat({ out, PngChunk("IDAT", Bytes(1000, 0x55)) });
    return Cat({ out, after, PngChunk("IEND", Bytes()) });
}

Bytes Webp(const Bytes& chunks)
{
    return Cat({ Text("RIFF"), Be(4 + chunks.size(), 4, true), Text("WEBP"), chunks });
}

const Bytes kJxlStart = Cat({ Hex("0000000C 4A584C20 0D0A870A"),
    Box("ftyp", Cat({ Text("jxl "), Be(0, 4), Text("jxl ") })) });

} // namespace

// Every new path, in both byte orders: the fields the window as it starts takes, the
// expanded window's values of a TIFF file's far directories, and the reads made.
TEST(PhotoContainer, MetadataPastTheFirstReadAndExifChunksInPngWebpAndJxl)
{
    const Fields none, fuji = FujiFields(), camera("Fujifilm X-T5", 0, 0, 0, 0, 0);
    for (const bool be : { false, true }) {
        const Bytes tiff = TiffBlock(be), item = HeifExifPayload(be);
        const Bytes exifId = Cat({ Text(std::string("Exif\0\0", 6)), tiff });
        const Bytes jxlExif = Box("Exif", Cat({ Be(0, 4), tiff }));
        const Bytes vp8x = WebpChunk("VP8X", Bytes(10, 0)),
                    vp8 = WebpChunk("VP8 ", Bytes(99999, 0));
        // meta of 40 KB of properties before iloc, then mdat with the Exif item.
        const std::uint64_t farItem = kHeicFtyp.size() + Meta({ { 0, 0 } }, 40000).size() + 8;
        const Bytes farIloc
            = Cat({ kHeicFtyp, Meta({ { farItem, item.size() } }, 40000), Box("mdat", item) });
        // Name, file, fields, far directories' fields, reads.
        using Row = std::tuple<const char*, Bytes, Fields, Fields, int>;
        const Row rows[] = {
            { "mdat first, Exif item in the first read", MdatFirst(be, { 100 }, 200000), fuji, none,
                2 },
            { "mdat first, Exif item past it", MdatFirst(be, { 60000 }, 200000), fuji, none, 3 },
            { "mdat first, Exif item just before meta, read with it",
                MdatFirst(be, { 200000 - item.size() }, 200000), fuji, none, 2 },
            { "mdat first, 64-bit size", MdatFirst(be, { 60000 }, 200000, true), fuji, none, 3 },
            { "iloc past 32 KiB", farIloc, fuji, none, 3 },
            { "two extents in the first read, reversed", MdatFirst(be, { 5000, 10 }, 6000), fuji,
                none, 1 },
            { "two extents far apart, reversed", MdatFirst(be, { 400000, 40000 }, 500000), fuji,
                none, 4 },
            { "TIFF, IFD0 past 32 KiB", FarTiff(be, 40000, 40100), none, fuji, 2 },
            { "TIFF, EXIF directory past 32 KiB", FarTiff(be, 100, 50000), camera, fuji, 2 },
            { "TIFF, both far apart", FarTiff(be, 40000, 200000), none, fuji, 3 },
            { "TIFF, both in the first read", FarTiff(be, 100, 300), fuji, none, 1 },
            { "PNG, eXIf before IDAT", Png(PngChunk("eXIf", tiff), {}), fuji, none, 1 },
            { "PNG, eXIf after IDAT", Png({}, PngChunk("eXIf", tiff)), fuji, none, 2 },
            { "PNG, Exif\\0\\0 first, after IDAT", Png({}, PngChunk("eXIf", exifId)), fuji, none,
                2 },
            { "WebP, EXIF before", Webp(Cat({ vp8x, WebpChunk("EXIF", tiff), vp8 })), fuji, none,
                1 },
            { "WebP, EXIF after", Webp(Cat({ vp8x, vp8, WebpChunk("EXIF", exifId) })), fuji, none,
                2 },
            { "JXL, Exif before", Cat({ kJxlStart, jxlExif, Box("jxlc", Bytes(100000, 0)) }), fuji,
                none, 1 },
            { "JXL, Exif after", Cat({ kJxlStart, Box("jxlc", Bytes(100000, 0)), jxlExif }), fuji,
                none, 2 },
        };
        for (const auto& [name, file, fields, far, reads] : rows) {
            MemoryRead read = ReadFromMemory(file);
            std::get<5>(read.fields) = 0; // the file's size
            EXPECT_EQ(std::make_tuple(read.accepted, read.fields, read.far, read.start.reads),
                std::make_tuple(true, fields, far, reads))
                << name << " " << be;
        }
    }
}

// Hostile sizes on every new path: rejected (too large ones with their reason) or read as
// far as they are sound, never more than four reads, never a read outside the bytes read.
TEST(PhotoContainer, HostileBoxAndChunkSizesOnTheNewPaths)
{
    const Bytes tiff = TiffBlock(true), item = HeifExifPayload(true);
    const Bytes exif = PngChunk("eXIf", tiff), vp8x = WebpChunk("VP8X", Bytes(10, 0));
    const Bytes jxlExif = Box("Exif", Cat({ Be(0, 4), tiff }));
    auto mdat64 = [](std::uint64_t size) { return Cat({ Be(1, 4), Text("mdat"), Be(size, 8) }); };
    Bytes frees = kHeicFtyp;
    for (int i = 0; i < 10; ++i)
        frees = Cat({ frees, Box("free", Bytes(40000, 0)) });
    std::vector<std::pair<std::uint64_t, std::uint64_t>> nine(9, { 100, 10 });
    const Bytes cmt = Cat({ Box("CMT1", TiffBlock(true, Directories::ImageOnly)),
        Box("CMT2", TiffBlock(true, Directories::ExifOnly)) });
    auto cr3 = [&cmt](std::size_t before) {
        return Cat({ Box("ftyp", Cat({ Text("crx "), Be(1, 4), Text("crx isom") })),
            Box("moov",
                Box("uuid",
                    Cat({ Hex("85c0b687820f11e08111f4ce462b6a48"), Box("CCTP", Bytes(before, 0)),
                        cmt }))) });
    };
    Bytes png = Png({}, exif);
    const std::size_t pngExif = png.size() - 12 - exif.size();
    // Name, bytes, accepted, reason when rejected.
    using Row = std::tuple<const char*, Bytes, bool, SkipReason>;
    const Row rows[] = {
        { "CR3, CMT1 past 32 KiB", cr3(40000), true, SkipNoExif },
        { "CR3, its uuid box over 256 KiB", cr3(300000), false, SkipTooLarge },
        { "meta over 256 KiB, iloc past 32 KiB",
            Cat({ kHeicFtyp, Meta({ { 10, item.size() } }, 300000) }), false, SkipTooLarge },
        { "split item of 66,000 bytes",
            Cat({ kHeicFtyp, Box("mdat", Bytes(100000, 0)),
                Meta({ { 100, 33000 }, { 40000, 33000 } }) }),
            false, SkipTooLarge },
        { "item in 9 extents", Cat({ kHeicFtyp, Box("mdat", Bytes(200, 0)), Meta(nine) }), false,
            SkipTooLarge },
        { "boxes past 32 KiB beyond four reads", Cat({ frees, MdatFirst(true, { 0 }, 1000) }),
            false, SkipNoExif },
        { "mdat of 2^64 - 1 bytes", Cat({ kHeicFtyp, mdat64(~0ull), Meta({}) }), false,
            SkipNoExif },
        { "mdat of 2^63 bytes", Cat({ kHeicFtyp, mdat64(1ull << 63), Meta({}) }), false,
            SkipNoExif },
        { "mdat of size 0, to the end", With32(MdatFirst(true, { 60000 }, 70000), 24, 0), false,
            SkipNoExif },
        { "mdat of size 7", With32(MdatFirst(true, { 60000 }, 70000), 24, 7), false, SkipNoExif },
        { "mdat cut in its 64-bit size", Cat({ kHeicFtyp, Be(1, 4), Text("mdat"), Be(0, 5) }),
            false, SkipNoExif },
        { "PNG, first chunk of 2^32 - 1 bytes", With32(png, 8, 0xFFFFFFFF), false, SkipNoExif },
        { "PNG, eXIf one byte too long", With32(png, pngExif, std::uint32_t(tiff.size() + 1)),
            false, SkipNoExif },
        { "PNG, eXIf of 0 bytes", Png(PngChunk("eXIf", {}), {}, 1), false, SkipNoExif },
        { "PNG without IEND", Bytes(png.begin(), png.end() - 12), false, SkipNoExif },
        { "WebP, RIFF of 0 bytes", With32(Webp(Cat({ vp8x, WebpChunk("EXIF", tiff) })), 4, 0),
            false, SkipNoExif },
        { "WebP, EXIF past RIFF's end",
            Cat({ Webp(Cat({ vp8x, WebpChunk("EXIF", Bytes()) })), tiff }), false, SkipNoExif },
        { "WebP without VP8X", Webp(WebpChunk("EXIF", tiff)), false, SkipNoExif },
        { "WebP, chunk of 2^32 - 1 bytes",
            Webp(Cat({ vp8x, Text("VP8 "), Be(0xFFFFFFFF, 4), jxlExif })), false, SkipNoExif },
        { "JXL, codestream of size 0 first", Cat({ kJxlStart, Be(0, 4), Text("jxlc"), jxlExif }),
            false, SkipNoExif },
        { "JXL, codestream of 64-bit size",
            Cat({ kJxlStart, Be(1, 4), Text("jxlc"), Be(16 + 40000, 8), Bytes(40000, 0), jxlExif }),
            true, SkipNoExif },
        { "JXL, codestream of 2^64 - 1 bytes",
            Cat({ kJxlStart, Be(1, 4), Text("jxlc"), Be(~0ull, 8), jxlExif }), false, SkipNoExif },
        { "JXL, codestream past the end",
            Cat({ kJxlStart, Be(0x7FFFFFFF, 4), Text("jxlc"), jxlExif }), false, SkipNoExif },
        { "JXL, Exif compressed", Cat({ kJxlStart, Box("brob", Cat({ Text("Exif"), tiff })) }),
            false, SkipNoExif },
        { "JXL, empty Exif", Cat({ kJxlStart, Box("Exif", {}) }), false, SkipNoExif },
    };
    for (const auto& [name, bytes, accepted, reason] : rows) {
        MemoryRead read = ReadFromMemory(bytes);
        std::get<5>(read.fields) = 0;
        EXPECT_EQ(std::make_tuple(read.accepted, read.fields),
            std::make_tuple(accepted, accepted ? FujiFields() : Fields()))
            << name;
        EXPECT_EQ(accepted ? reason : read.start.reason, reason) << name;
        EXPECT_LE(read.start.reads, kMaxFileReads) << name;
    }
}
