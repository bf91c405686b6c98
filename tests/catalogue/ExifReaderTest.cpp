// SPDX-License-Identifier: MIT
#include "catalogue/ExifReader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>

#include "catalogue/PhotoCatalogue.h"
#include "tests/catalogue/ExifTestFiles.h"

namespace {

// SONY / CAM-5, ISO 100, FNumber 28/10, ExposureTime 1/125, FocalLength 50/1 after the
// 12-byte JPEG/EXIF prefix: IFD0 at 8 (Make at 104, Model at 109, EXIF at 50), IFD1 link,
// the EXIF directory (ISO in place, the rationals at 116, 124, 132), then the data.
const Bytes kLittleEndian
    = Hex("FFD8FFE1 0094 457869660000  4949 2A00 08000000  0300"
          "  0F01 0200 05000000 68000000  1001 0200 06000000 6D000000  6987 0400 01000000 32000000"
          "  00000000  0400  2788 0300 01000000 64000000  9D82 0500 01000000 74000000"
          "  9A82 0500 01000000 7C000000  0A92 0500 01000000 84000000  00000000"
          "  534F4E5900 43414D2D3500 00  1C000000 0A000000  01000000 7D000000  32000000 01000000");
const Bytes kBigEndian
    = Hex("FFD8FFE1 0094 457869660000  4D4D 002A 00000008  0003"
          "  010F 0002 00000005 00000068  0110 0002 00000006 0000006D  8769 0004 00000001 00000032"
          "  00000000  0004  8827 0003 00000001 00640000  829D 0005 00000001 00000074"
          "  829A 0005 00000001 0000007C  920A 0005 00000001 00000084  00000000"
          "  534F4E5900 43414D2D3500 00  0000001C 0000000A  00000001 0000007D  00000032 00000001");

// Parses exactly the given bytes from their own heap block, so that the address
// sanitizer sees any read past them.
bool Parse(const Bytes& bytes, PhotoRecord& record)
{
    const std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[bytes.size() + 1]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return ParseExif(record, copy.get(), bytes.size());
}

void Put32(Bytes& bytes, std::size_t at, std::uint32_t v)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

TEST(ExifReader, BothByteOrdersAndBothBasesGiveTheSameRecord)
{
    for (const Bytes& file : { kLittleEndian, kBigEndian }) {
        ASSERT_EQ(file.size(), 152u);
        for (std::ptrdiff_t base : { 0, 12 }) { // 0: the same block as a TIFF file
            PhotoRecord r;
            ASSERT_TRUE(Parse(Bytes(file.begin() + 12 - base, file.end()), r));
            EXPECT_EQ(Of(r), Fields("Sony CAM-5", 2.8, 50, 100, 1.0 / 125, 0));
        }
    }
    // The minimal little-endian example: one EXIF pointer, one FNumber.
    PhotoRecord r;
    ASSERT_TRUE(Parse(WrapJpeg(Hex("4949 2A00 08000000 0100 6987 0400 01000000 1A000000 00000000"
                                   " 0100 9D82 0500 01000000 2C000000 00000000 1C000000 0A000000")),
        r));
    EXPECT_EQ(Of(r), Fields("", 2.8, 0, 0, 0, 0));
}

TEST(ExifReader, RejectsFilesWithoutByteOrderMark)
{
    const Bytes jfif = Hex("FFD8FFE0 0010 4A46494600 010101") // JFIF first, EXIF after it
        + WrapJpeg(BuildTiff(false, { TextEntry(0x010F, "SONY") }, {}));
    Bytes crossed(14, 'X');
    crossed[12] = 'I';
    crossed[13] = 'M';
    for (const Bytes& bytes :
        { jfif, Bytes { 'I' }, Bytes { 'I', 'M', 0, 0, 0, 0, 0, 0 }, Bytes {}, crossed }) {
        PhotoRecord r;
        EXPECT_FALSE(Parse(bytes, r));
        EXPECT_EQ(r.camera, "");
    }
    PhotoRecord r; // a bare mark is a TIFF file with nothing in it
    EXPECT_TRUE(Parse({ 'M', 'M' }, r));
}

TEST(ExifReader, CameraNames)
{
    const char* const rows[][3] = {
        // Make, Model (null: no entry), camera
        { "NIKON CORPORATION", "NIKON CAM-1", "Nikon CAM-1" },
        { "Canon", "Canon CAM-2", "Canon CAM-2" },
        { "EASTMAN KODAK COMPANY", "KODAK CAM-3 ZOOM", "Kodak CAM-3 ZOOM" },
        { "OLYMPUS OPTICAL CO.,LTD", "CAM-4", "Olympus CAM-4" },
        { "SONY", "CAM-5", "Sony CAM-5" },
        { "FUJIFILM", "CAM-6", "Fujifilm CAM-6" },
        { "ACME", "CAM-7", "ACME CAM-7" },
        { "ACME", "PENTAX by NIKON", "PENTAX by Nikon" }, // first in the list, not in the text
        { "", "CAM-8", "CAM-8" },
        { nullptr, "CAM-9", "CAM-9" },
        { "SONY", nullptr, "" },
    };
    for (const auto& row : rows) {
        std::vector<ExifEntry> ifd0;
        for (int i : { 0, 1 })
            if (row[i] != nullptr)
                ifd0.push_back(TextEntry(i == 0 ? 0x010F : 0x0110, row[i]));
        PhotoRecord r;
        ASSERT_TRUE(Parse(BuildTiff(true, ifd0, {}), r));
        EXPECT_EQ(r.camera, row[2]) << (row[0] ? row[0] : "(none)");
    }
    PhotoRecord r; // a Model before the Make does not see it
    ASSERT_TRUE(
        Parse(BuildTiff(false, { TextEntry(0x0110, "CAM-1"), TextEntry(0x010F, "SONY") }, {}), r));
    EXPECT_EQ(r.camera, "CAM-1");
}

TEST(ExifReader, TextsAreCutAndMustEndInsideTheBytes)
{
    PhotoRecord r;
    const std::string make(200, 'y'), model(300, 'x');
    ASSERT_TRUE(
        Parse(BuildTiff(false, { TextEntry(0x010F, make), TextEntry(0x0110, model) }, {}), r));
    EXPECT_EQ(r.camera, std::string(127, 'y') + ' ' + std::string(127, 'x'));

    // The Model text is the last thing in the block: without its NUL it is not taken.
    const Bytes good
        = BuildTiff(false, { TextEntry(0x010F, "SONY"), TextEntry(0x0110, "CAM-5") }, {});
    PhotoRecord noModel;
    ASSERT_TRUE(Parse(Bytes(good.begin(), good.end() - 1), noModel));
    EXPECT_EQ(noModel.camera, "");
    // A Make text running into the end of the bytes is left out; the Model still counts.
    Bytes cut = good;
    cut.push_back('Z');
    Put32(cut, 8 + 2 + 8, static_cast<std::uint32_t>(cut.size() - 1));
    PhotoRecord noMake;
    ASSERT_TRUE(Parse(cut, noMake));
    EXPECT_EQ(noMake.camera, "CAM-5");
}

TEST(ExifReader, HostileOffsetsAreSkipped)
{
    const std::vector<ExifEntry> exif = { ShortEntry(0x8827, 400), RationalEntry(0x829D, 28, 10) };
    const Bytes good
        = WrapJpeg(BuildTiff(false, { TextEntry(0x010F, "SONY"), TextEntry(0x0110, "CAM") }, exif));
    // In good: the IFD0 offset at 16; the values of Make at 30 and of the EXIF pointer at
    // 54; the EXIF directory at 62 with ISO, then FNumber whose value is at 84.
    // Where a 32-bit value is written, the value, the camera and whether FNumber is still read.
    const std::tuple<std::size_t, std::uint32_t, const char*, bool> rows[] = {
        { 16, 0xFFFFFFF0, "", false }, // IFD0 far outside
        { 16, 0xFFFFFFF4, "", false }, // 12 + offset wraps to 0 in 32 bits
        { 30, 0xFFFFFFF4, "CAM", true },
        { 30, 1000, "CAM", true },
        { 54, 0xFFFFFFFF, "Sony CAM", false },
        { 54, 0xFFFFFFF4, "Sony CAM", false },
        { 84, 0xFFFFFFF4, "Sony CAM", false }, // wraps to 0 in 32 bits
        { 84, 0xFFFFFFF0, "Sony CAM", false }, // its end wraps in 32 bits
        { 84, static_cast<std::uint32_t>(good.size() - 12 - 4), "Sony CAM", false },
    };
    for (const auto& [at, value, camera, fNumberKept] : rows) {
        Bytes bytes = good;
        Put32(bytes, at, value);
        PhotoRecord r;
        ASSERT_TRUE(Parse(bytes, r)) << at;
        EXPECT_EQ(r.camera, camera) << at << ' ' << value;
        EXPECT_EQ(r.fNumber, fNumberKept ? 2.8 : 0) << at << ' ' << value;
    }

    // An entry count larger than the bytes: the entries that fit (ISO only) are read.
    Bytes bytes(good.begin(), good.begin() + 62 + 2 + 12);
    bytes[62] = bytes[63] = 0xFF;
    PhotoRecord r;
    ASSERT_TRUE(Parse(bytes, r));
    EXPECT_EQ(Of(r), Fields("", 0, 0, 400, 0, 0)); // the texts lie past the cut

    // Every prefix of a good block parses without reading past it.
    for (auto end = good.begin(); end != good.end(); ++end) {
        PhotoRecord prefix;
        Parse(Bytes(good.begin(), end), prefix);
    }
}

TEST(ExifReader, ZeroDenominatorMeansNotGiven)
{
    PhotoRecord r;
    const std::vector<ExifEntry> zeros
        = { RationalEntry(0x829D, 0, 0), RationalEntry(0x829A, 5, 0), RationalEntry(0x920A, 0, 1) };
    ASSERT_TRUE(Parse(BuildTiff(true, {}, zeros), r));
    EXPECT_EQ(Of(r), Fields("", 0, 0, 0, 0, 0));
}

TEST(ExifReader, FileSizeRoundsToOneDecimalHalvesToEven)
{
    const std::pair<std::uint64_t, double> rows[]
        = { { 1572864, 1.5 }, { 52429, 0.1 }, { 52428, 0.0 }, { 0, 0.0 }, { 262144, 0.2 },
              { 786432, 0.8 }, { 1048576ull * 4096, 4096.0 } }; // halves to even
    for (const auto& [bytes, mb] : rows)
        EXPECT_EQ(FileSizeMb(bytes), mb) << bytes;
}

TEST(ExifReader, ReadPhotoAcceptsRegularFilesOnly)
{
    TempDir dir;
    const std::filesystem::path deep = dir.path / std::string(200, 'd') / std::string(200, 'e');
    std::filesystem::create_directories(deep);
    for (const std::string& name : { std::string("a.jpg"), (deep / "b.jpg").string() }) {
        PhotoRecord r; // a path of any length is kept whole
        const std::string photo = dir.Write(name, kBigEndian, 1572864);
        ASSERT_TRUE(ReadPhoto(photo, r));
        EXPECT_EQ(r.path, photo);
        EXPECT_EQ(Of(r), Fields("Sony CAM-5", 2.8, 50, 100, 1.0 / 125, 1.5));
    }
    const std::string fifo = (dir.path / "fifo.jpg").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path :
        { fifo, dir.path.string(), (dir.path / "missing.jpg").string(), dir.Write("empty.jpg", {}),
            dir.Write("jfif.jpg", Hex("FFD8FFE0 0010 4A46")), std::string("/dev/zero") }) {
        PhotoRecord untouched;
        EXPECT_FALSE(ReadPhoto(path, untouched)) << path;
        EXPECT_EQ(untouched.path, "");
        EXPECT_EQ(Of(untouched), Fields());
    }
}
