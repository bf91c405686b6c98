// SPDX-License-Identifier: MIT
#include "catalogue/ExifReader.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "catalogue/PhotoCatalogue.h"
#include "tests/catalogue/ExifTestFiles.h"

namespace {

// SONY / CAM-5, ISO 100, FNumber 28/10, ExposureTime 1/125, FocalLength 50/1, after the
// 12-byte JPEG/EXIF prefix, little-endian.
const Bytes kLittleEndian = {
    0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x94, 'E', 'x', 'i', 'f', 0x00, 0x00,
    'I', 'I', 0x2A, 0x00, 0x08, 0x00, 0x00, 0x00,                        // header, IFD0 at 8
    0x03, 0x00,                                                          // 8: 3 entries
    0x0F, 0x01, 0x02, 0x00, 0x05, 0x00, 0x00, 0x00, 0x68, 0x00, 0x00, 0x00, // Make at 104
    0x10, 0x01, 0x02, 0x00, 0x06, 0x00, 0x00, 0x00, 0x6D, 0x00, 0x00, 0x00, // Model at 109
    0x69, 0x87, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00, 0x32, 0x00, 0x00, 0x00, // EXIF at 50
    0x00, 0x00, 0x00, 0x00,                                              // IFD1 link, not read
    0x04, 0x00,                                                          // 50: 4 entries
    0x27, 0x88, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x64, 0x00, 0x00, 0x00, // ISO 100
    0x9D, 0x82, 0x05, 0x00, 0x01, 0x00, 0x00, 0x00, 0x74, 0x00, 0x00, 0x00, // FNumber at 116
    0x9A, 0x82, 0x05, 0x00, 0x01, 0x00, 0x00, 0x00, 0x7C, 0x00, 0x00, 0x00, // ExposureTime at 124
    0x0A, 0x92, 0x05, 0x00, 0x01, 0x00, 0x00, 0x00, 0x84, 0x00, 0x00, 0x00, // FocalLength at 132
    0x00, 0x00, 0x00, 0x00,
    'S', 'O', 'N', 'Y', 0x00, 'C', 'A', 'M', '-', '5', 0x00, 0x00,         // 104, 109, pad
    0x1C, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00,                      // 116: 28/10
    0x01, 0x00, 0x00, 0x00, 0x7D, 0x00, 0x00, 0x00,                      // 124: 1/125
    0x32, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,                      // 132: 50/1
};

const Bytes kBigEndian = {
    0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x94, 'E', 'x', 'i', 'f', 0x00, 0x00,
    'M', 'M', 0x00, 0x2A, 0x00, 0x00, 0x00, 0x08,
    0x00, 0x03,
    0x01, 0x0F, 0x00, 0x02, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x68,
    0x01, 0x10, 0x00, 0x02, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x6D,
    0x87, 0x69, 0x00, 0x04, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x32,
    0x00, 0x00, 0x00, 0x00,
    0x00, 0x04,
    0x88, 0x27, 0x00, 0x03, 0x00, 0x00, 0x00, 0x01, 0x00, 0x64, 0x00, 0x00, // ISO: 00 64 00 00
    0x82, 0x9D, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x74,
    0x82, 0x9A, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x7C,
    0x92, 0x0A, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x84,
    0x00, 0x00, 0x00, 0x00,
    'S', 'O', 'N', 'Y', 0x00, 'C', 'A', 'M', '-', '5', 0x00, 0x00,
    0x00, 0x00, 0x00, 0x1C, 0x00, 0x00, 0x00, 0x0A,
    0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x7D,
    0x00, 0x00, 0x00, 0x32, 0x00, 0x00, 0x00, 0x01,
};

// Parses exactly the given bytes from their own heap block, so that the address
// sanitizer sees any read past them.
bool Parse(const Bytes& bytes, PhotoRecord& record)
{
    const std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[bytes.size() + 1]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return ParseExif(record, copy.get(), bytes.size());
}

void ExpectSonyRecord(const PhotoRecord& r)
{
    EXPECT_EQ(r.camera, "Sony CAM-5");
    EXPECT_EQ(r.iso, 100);
    EXPECT_EQ(r.fNumber, 2.8);
    EXPECT_EQ(r.exposureTime, 1.0 / 125);
    EXPECT_EQ(r.focalLength, 50);
    EXPECT_EQ(r.fileSizeMb, 0);
}

void Put32(Bytes& bytes, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

TEST(ExifReader, BothByteOrdersAndBothBasesGiveTheSameRecord)
{
    ASSERT_EQ(kLittleEndian.size(), 152u);
    ASSERT_EQ(kBigEndian.size(), 152u);
    for (const Bytes* file : {&kLittleEndian, &kBigEndian}) {
        PhotoRecord jpeg;
        ASSERT_TRUE(Parse(*file, jpeg));
        ExpectSonyRecord(jpeg);
        PhotoRecord tiff; // the same block as a TIFF file: base at byte 0
        ASSERT_TRUE(Parse(Bytes(file->begin() + 12, file->end()), tiff));
        ExpectSonyRecord(tiff);
    }
}

TEST(ExifReader, MinimalLittleEndianExample)
{
    const Bytes file = WrapJpeg({
        0x49, 0x49, 0x2A, 0x00, 0x08, 0x00, 0x00, 0x00, 0x01, 0x00,
        0x69, 0x87, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00, 0x1A, 0x00, 0x00, 0x00, 0, 0, 0, 0,
        0x01, 0x00, 0x9D, 0x82, 0x05, 0x00, 0x01, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0, 0, 0, 0,
        0x1C, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00,
    });
    PhotoRecord r;
    ASSERT_TRUE(Parse(file, r));
    EXPECT_EQ(r.fNumber, 2.8);
    EXPECT_EQ(r.camera, "");
    EXPECT_EQ(r.iso + r.exposureTime + r.focalLength, 0);
}

TEST(ExifReader, RejectsFilesWithoutByteOrderMark)
{
    Bytes jfif = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00, 0x01, 0x01, 0x01};
    const Bytes exifLater = WrapJpeg(BuildTiff(false, {TextEntry(0x010F, "SONY")}, {}));
    jfif.insert(jfif.end(), exifLater.begin(), exifLater.end());
    Bytes crossed(14, 'X');
    crossed[12] = 'I';
    crossed[13] = 'M';
    const Bytes rows[] = {jfif, {'I'}, {'I', 'M', 0, 0, 0, 0, 0, 0}, {}, crossed};
    for (const Bytes& bytes : rows) {
        PhotoRecord r;
        EXPECT_FALSE(Parse(bytes, r));
        EXPECT_EQ(r.camera, "");
    }
    // A bare mark is a TIFF file with nothing in it.
    PhotoRecord r;
    EXPECT_TRUE(Parse({'M', 'M'}, r));
}

TEST(ExifReader, CameraNames)
{
    struct Row {
        const char* make;
        const char* model;
        const char* camera;
    };
    const Row rows[] = {
        {"NIKON CORPORATION", "NIKON CAM-1", "Nikon CAM-1"},
        {"Canon", "Canon CAM-2", "Canon CAM-2"},
        {"EASTMAN KODAK COMPANY", "KODAK CAM-3 ZOOM", "Kodak CAM-3 ZOOM"},
        {"OLYMPUS OPTICAL CO.,LTD", "CAM-4", "Olympus CAM-4"},
        {"SONY", "CAM-5", "Sony CAM-5"},
        {"FUJIFILM", "CAM-6", "Fujifilm CAM-6"},
        {"ACME", "CAM-7", "ACME CAM-7"},
        {"ACME", "PENTAX by NIKON", "PENTAX by Nikon"}, // first in the list, not in the text
        {"", "CAM-8", "CAM-8"},
        {nullptr, "CAM-9", "CAM-9"}, // no Make at all
        {"SONY", nullptr, ""},
    };
    for (const Row& row : rows) {
        std::vector<ExifEntry> ifd0;
        if (row.make != nullptr)
            ifd0.push_back(TextEntry(0x010F, row.make));
        if (row.model != nullptr)
            ifd0.push_back(TextEntry(0x0110, row.model));
        PhotoRecord r;
        ASSERT_TRUE(Parse(BuildTiff(true, ifd0, {}), r));
        EXPECT_EQ(r.camera, row.camera) << (row.make ? row.make : "(none)");
    }
    // A Model before the Make does not see it.
    PhotoRecord r;
    ASSERT_TRUE(Parse(BuildTiff(false, {TextEntry(0x0110, "CAM-1"), TextEntry(0x010F, "SONY")}, {}), r));
    EXPECT_EQ(r.camera, "CAM-1");
}

TEST(ExifReader, NormaliseMakerWholeAndInPlace)
{
    std::string text = "xx FUJIFILM Canon CANON";
    EXPECT_TRUE(NormaliseMaker(text, true));
    EXPECT_EQ(text, "xx FUJIFILM Canon Canon");
    text = "xx FUJIFILM";
    EXPECT_TRUE(NormaliseMaker(text, false));
    EXPECT_EQ(text, "Fujifilm");
    text = "Nikon";
    EXPECT_FALSE(NormaliseMaker(text, false));
    EXPECT_EQ(text, "Nikon");
}

TEST(ExifReader, TextsAreCutAndMustEndInsideTheBytes)
{
    const std::string longModel(300, 'x');
    PhotoRecord r;
    ASSERT_TRUE(Parse(BuildTiff(false, {TextEntry(0x010F, std::string(200, 'y')), TextEntry(0x0110, longModel)}, {}), r));
    EXPECT_EQ(r.camera, std::string(127, 'y') + ' ' + std::string(127, 'x'));

    // The Model text is the last thing in the block: without its NUL it is not taken.
    Bytes cut = BuildTiff(false, {TextEntry(0x010F, "SONY"), TextEntry(0x0110, "CAM-5")}, {});
    cut.pop_back();
    PhotoRecord noModel;
    ASSERT_TRUE(Parse(cut, noModel));
    EXPECT_EQ(noModel.camera, "");
    // A Make text running into the end of the bytes is left out; the Model still counts.
    cut = BuildTiff(false, {TextEntry(0x010F, "SONY"), TextEntry(0x0110, "CAM-5")}, {});
    cut.push_back('Z');
    Put32(cut, 8 + 2 + 8, static_cast<std::uint32_t>(cut.size() - 1));
    PhotoRecord noMake;
    ASSERT_TRUE(Parse(cut, noMake));
    EXPECT_EQ(noMake.camera, "CAM-5");
}

TEST(ExifReader, HostileOffsetsAreSkipped)
{
    const std::vector<ExifEntry> exif = {ShortEntry(0x8827, 400), RationalEntry(0x829D, 28, 10)};
    const Bytes good = WrapJpeg(BuildTiff(false, {TextEntry(0x010F, "SONY"), TextEntry(0x0110, "CAM")}, exif));
    // Byte positions in good: IFD0 offset at 16; IFD0 at 20 with Make, Model and the
    // EXIF pointer; the EXIF directory at 12 + 50 with ISO then FNumber.
    constexpr std::size_t kMakeValue = 12 + 10 + 8;
    constexpr std::size_t kExifValue = 12 + 34 + 8;
    constexpr std::size_t kFNumberValue = 12 + 50 + 2 + 12 + 8;
    struct Row {
        std::size_t at;
        std::uint32_t value;
        const char* camera;
        bool fNumberKept;
    };
    const Row rows[] = {
        {16, 0xFFFFFFF0, "", false}, // IFD0 far outside
        {16, 0xFFFFFFF4, "", false}, // 12 + offset wraps to 0 in 32 bits
        {kMakeValue, 0xFFFFFFF4, "CAM", true},
        {kMakeValue, 1000, "CAM", true},
        {kExifValue, 0xFFFFFFFF, "Sony CAM", false},
        {kExifValue, 0xFFFFFFF4, "Sony CAM", false},
        {kFNumberValue, 0xFFFFFFF4, "Sony CAM", false}, // wraps to 0 in 32 bits
        {kFNumberValue, 0xFFFFFFF0, "Sony CAM", false}, // its end wraps in 32 bits
        {kFNumberValue, static_cast<std::uint32_t>(good.size() - 12 - 4), "Sony CAM", false},
    };
    for (const Row& row : rows) {
        Bytes bytes = good;
        Put32(bytes, row.at, row.value);
        PhotoRecord r;
        ASSERT_TRUE(Parse(bytes, r)) << row.at;
        EXPECT_EQ(r.camera, row.camera) << row.at << ' ' << row.value;
        EXPECT_EQ(r.fNumber, row.fNumberKept ? 2.8 : 0) << row.at << ' ' << row.value;
    }

    // Entry counts larger than the bytes: the entries that fit are read.
    Bytes bytes = good;
    bytes[12 + 50] = 0xFF;
    bytes[12 + 50 + 1] = 0xFF;
    bytes.resize(12 + 50 + 2 + 12); // ISO entry only
    PhotoRecord r;
    ASSERT_TRUE(Parse(bytes, r));
    EXPECT_EQ(r.iso, 400);
    EXPECT_EQ(r.fNumber, 0);

    // Every prefix of a good block parses without reading past it.
    for (std::size_t n = 0; n <= good.size(); ++n) {
        PhotoRecord prefix;
        Parse(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)), prefix);
    }
}

TEST(ExifReader, ZeroDenominatorMeansNotGiven)
{
    PhotoRecord r;
    ASSERT_TRUE(Parse(BuildTiff(true, {},
                          {RationalEntry(0x829D, 0, 0), RationalEntry(0x829A, 5, 0), RationalEntry(0x920A, 0, 1)}),
        r));
    EXPECT_EQ(r.fNumber, 0);
    EXPECT_EQ(r.exposureTime, 0);
    EXPECT_EQ(r.focalLength, 0);
    EXPECT_FALSE(std::isnan(r.fNumber) || std::isinf(r.exposureTime));
}

TEST(ExifReader, FileSizeRoundsAsPrintf)
{
    const std::pair<std::uint64_t, double> rows[] = {
        {1572864, 1.5}, {52429, 0.1}, {52428, 0.0}, {0, 0.0},
        {262144, 0.2}, {786432, 0.8}, // exact halves round to even
        {1048576ull * 4096, 4096.0},
    };
    for (const auto& [bytes, mb] : rows)
        EXPECT_EQ(FileSizeMb(bytes), mb) << bytes;
    for (std::uint64_t bytes = 0; bytes < 40000000; bytes += 4099) {
        char text[64];
        std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / 1048576.0);
        ASSERT_EQ(FileSizeMb(bytes), std::strtod(text, nullptr)) << bytes;
    }
}

TEST(ExifReader, ReadPhotoAcceptsRegularFilesOnly)
{
    TempDir dir;
    PhotoRecord r;
    const std::string photo = dir.Write("a.jpg", kBigEndian, 1572864);
    ASSERT_TRUE(ReadPhoto(photo, r));
    EXPECT_EQ(r.path, photo);
    EXPECT_EQ(r.camera, "Sony CAM-5");
    EXPECT_EQ(r.fileSizeMb, 1.5);

    // A path of any length is kept whole.
    const std::filesystem::path deep = dir.Path() / std::string(200, 'd') / std::string(200, 'e');
    std::filesystem::create_directories(deep);
    const std::string deepPhoto = (deep / "b.jpg").string();
    std::filesystem::copy_file(photo, deepPhoto);
    PhotoRecord deepRecord;
    ASSERT_TRUE(ReadPhoto(deepPhoto, deepRecord));
    EXPECT_EQ(deepRecord.path, deepPhoto);

    const std::string fifo = (dir.Path() / "fifo.jpg").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string rejected[] = {fifo, dir.Path().string(), (dir.Path() / "missing.jpg").string(),
        dir.Write("empty.jpg", {}), dir.Write("jfif.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F'}), "/dev/zero"};
    for (const std::string& path : rejected) {
        PhotoRecord untouched;
        EXPECT_FALSE(ReadPhoto(path, untouched)) << path;
        EXPECT_EQ(untouched.path, "");
        EXPECT_EQ(untouched.fileSizeMb, 0);
    }
}
