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
    start.size = std::min(file.size(), kExifReadSize);
    start.length = file.size();
    std::copy(file.begin(), file.begin() + static_cast<long>(start.size), bytes);
    std::uint64_t offset = 0;
    std::size_t length = 0;
    if (start.size > 0 && LocateExif(bytes, start, offset, length)) {
        start.secondOffset = offset;
        start.secondSize = offset < file.size()
            ? static_cast<std::size_t>(std::min<std::uint64_t>(length, file.size() - offset))
            : 0;
        std::copy(file.begin() + static_cast<long>(offset),
            file.begin() + static_cast<long>(offset + start.secondSize), bytes + kSecondReadAt);
    }
    ASAN_POISON_MEMORY_REGION(bytes + start.size, kSecondReadAt - start.size);
    ASAN_POISON_MEMORY_REGION(bytes + kSecondReadAt + start.secondSize,
        kFileStartBufferSize - kSecondReadAt - start.secondSize);
    PhotoRecord record;
    result.accepted = ParsePhoto("photo", bytes, start, record);
    result.fields = Of(record);
    // A FileStart that LocateExif has not seen makes the parse look for the blocks itself,
    // with the same outcome.
    FileStart unlocated = start;
    unlocated.located = false;
    unlocated.container = ContainerExif();
    PhotoRecord again;
    EXPECT_EQ(ParsePhoto("photo", bytes, unlocated, again), result.accepted);
    EXPECT_EQ(Of(again), result.fields);
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
        EXPECT_EQ(std::make_tuple(read.fields, read.start.secondOffset, read.start.secondSize),
            std::make_tuple(FujiFields(), secondAt, secondAt == 0 ? 0 : file.size() - secondAt));
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
            EXPECT_EQ(read.start.secondOffset, file.size() > 50000 ? 50000 : 0);
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
    // Name, bytes, accepted fields (empty camera: rejected), second read's offset and size.
    using Row = std::tuple<const char*, Bytes, Fields, std::uint64_t, std::size_t>;
    const Row rows[] = { { "tail.heic", tail, FujiFields(), 40000, tail.size() - 40000 },
        { "photo.jpg", kBigEndian, sony, 0, 0 },
        // The whole JPEG: its segment length lies beyond the first read.
        { "far.raf", RafFile(false, 50000), FujiFields(), 50000,
            2 + 4 + 6 + TiffBlock(false).size() + 2 },
        { "beyond.heic", beyondEnd, Fields(), 0, 0 } };
    std::vector<std::string> paths, all;
    std::vector<Fields> expected, thrice;
    const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kFileStartBufferSize]);
    for (const auto& [name, bytes, fields, secondAt, secondSize] : rows) {
        paths.push_back(dir.Write(name, bytes));
        FileStart start;
        ASSERT_TRUE(ReadFileStart(paths.back(), buffer.get(), start)) << name;
        EXPECT_EQ(std::make_tuple(start.size, start.length, start.secondOffset, start.secondSize),
            std::make_tuple(
                std::min(bytes.size(), kExifReadSize), bytes.size(), secondAt, secondSize))
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
