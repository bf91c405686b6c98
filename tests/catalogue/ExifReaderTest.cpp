// SPDX-License-Identifier: MIT
#include "catalogue/ExifReader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "catalogue/PhotoCatalogue.h"
#include "tests/catalogue/ExifTestFiles.h"
#include "tests/support/CorpusPhoto.h"

// Parses exactly the given bytes from their own heap block, so that the address
// sanitizer sees any read past them.
static bool Parse(const Bytes& bytes, PhotoRecord& record)
{
    const std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[bytes.size() + 1]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return ParseExif(record, copy.get(), bytes.size());
}

TEST(ExifReader, BothBasesAndTheMinimalExampleReadWhileHostileOffsetsAndMarklessFilesDoNot)
{
    for (std::ptrdiff_t base : { 0, 12 }) { // 0: the same block as a TIFF file
        PhotoRecord r;
        ASSERT_TRUE(Parse(Bytes(kBigEndian.begin() + 12 - base, kBigEndian.end()), r));
        EXPECT_EQ(Of(r), Fields("Sony CAM-5", 2.8, 50, 100, 1.0 / 125, 0));
    }
    // The minimal little-endian example: one EXIF pointer, one FNumber.
    PhotoRecord minimal;
    ASSERT_TRUE(Parse(Hex("FFD8FFE1 003C 457869660000 4949 2A00 08000000 0100 6987 0400 01000000"
                          " 1A000000 00000000 0100 9D82 0500 01000000 2C000000 00000000"
                          " 1C000000 0A000000"),
        minimal));
    EXPECT_EQ(Of(minimal), Fields("", 2.8, 0, 0, 0, 0));
    // Files without a byte-order mark are rejected; a bare mark is a TIFF file with nothing
    // in it. (The first is EXIF after JFIF.)
    CorpusPhoto jfifFirst;
    jfifFirst.jfifFirst = true;
    for (const Bytes& bytes : { CorpusFileStart(jfifFirst), Hex("49"), Hex("494D 000000000000"),
             Hex(""), Hex("585858585858585858585858 494D"), Hex("4D4D") }) {
        PhotoRecord rejected;
        EXPECT_EQ(Parse(bytes, rejected), bytes.size() == 2);
        EXPECT_EQ(rejected.camera, "");
    }

    // Hostile offsets and cuts are skipped.
    const std::size_t n = kBigEndian.size(); // 152
    // In kBigEndian: the IFD0 offset at 16, the Make entry's value at 30, the EXIF pointer's
    // at 54, the EXIF directory at 62 (ISO, then FNumber whose value is at 84), the Model
    // text at 121, the FNumber rational at 128. Where a value is written (at 0: nothing), the
    // bytes kept, the camera, FNumber and ISO read.
    using Row = std::tuple<std::size_t, std::uint32_t, std::size_t, const char*, double, double>;
    const Row rows[] = {
        // IFD0 far outside, and at an offset that wraps to 0 in 32 bits after the 12 added.
        { 16, 0xFFFFFFF0, n, "", 0, 0 }, { 16, 0xFFFFFFF4, n, "", 0, 0 },
        // The Make text wrapping, far outside, and at the last byte with no NUL after it.
        { 30, 0xFFFFFFF4, n, "CAM-5", 2.8, 100 }, { 30, 1000, n, "CAM-5", 2.8, 100 },
        { 30, n - 13, n, "CAM-5", 2.8, 100 },
        // The EXIF directory far outside and wrapping to 0; the FNumber rational wrapping to 0,
        // ending past 2^32, and starting 4 bytes before the end; a zero denominator.
        { 54, 0xFFFFFFFF, n, "Sony CAM-5", 0, 0 }, { 54, 0xFFFFFFF4, n, "Sony CAM-5", 0, 0 },
        { 84, 0xFFFFFFF4, n, "Sony CAM-5", 0, 100 }, { 84, 0xFFFFFFF0, n, "Sony CAM-5", 0, 100 },
        { 84, n - 12 - 4, n, "Sony CAM-5", 0, 100 }, { 132, 0, n, "Sony CAM-5", 0, 100 },
        // Tiny values count as not given: 28/4294967295 and 28/2800000001 are at most 1e-8,
        // 28/2799999999 is just above it.
        { 132, 0xFFFFFFFF, n, "Sony CAM-5", 0, 100 }, { 132, 2800000001, n, "Sony CAM-5", 0, 100 },
        { 132, 2799999999, n, "Sony CAM-5", 28.0 / 2799999999, 100 },
        // 65535 EXIF entries, of which only ISO is inside the bytes.
        { 60, 0xFFFF, 76, "", 0, 100 },
        // Cut inside the header, an entry, the Model text and the rational.
        { 0, 0, 18, "", 0, 0 }, { 0, 0, 40, "", 0, 0 }, { 0, 0, 124, "", 0, 100 },
        { 0, 0, 131, "Sony CAM-5", 0, 100 }
    };
    for (const auto& [at, value, end, camera, fNumber, iso] : rows) {
        Bytes bytes = kBigEndian;
        for (std::size_t i = 0; i < 4 && at != 0; ++i)
            bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
        bytes.resize(end);
        PhotoRecord r;
        ASSERT_TRUE(Parse(bytes, r)) << at;
        EXPECT_EQ(std::make_tuple(r.camera, r.fNumber, r.iso),
            std::make_tuple(std::string(camera), fNumber, iso))
            << at << ' ' << value << ' ' << end;
    }
}

TEST(ExifReader, ReadPhotoAcceptsRegularFilesRoundsTheirSizeAndReadsGeneratedPhotos)
{
    TempDir dir;
    const std::filesystem::path deep = dir.path / std::string(200, 'd') / std::string(200, 'e');
    std::filesystem::create_directories(deep);
    PhotoRecord record; // a path of any length is kept whole
    const std::string deepPath = dir.Write((deep / "b.jpg").string(), kBigEndian, 1572864);
    ASSERT_TRUE(ReadPhoto(deepPath, record));
    EXPECT_EQ(record.path, deepPath);
    EXPECT_EQ(Of(record), Fields("Sony CAM-5", 2.8, 50, 100, 1.0 / 125, 1.5));
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
    // The file size in MB rounds to one decimal, halves to even.
    const std::pair<std::uint64_t, double> sizes[]
        = { { 1572864, 1.5 }, { 52429, 0.1 }, { 52428, 0.0 }, { 0, 0.0 }, { 262144, 0.2 },
              { 786432, 0.8 }, { 1048576ull * 4096, 4096.0 } };
    for (const auto& [bytes, mb] : sizes)
        EXPECT_EQ(FileSizeMb(bytes), mb) << bytes;

    // The camera from the Make and Model texts of generated files, each text cut to 127
    // characters. The benchmark's corpus files are read back with the values the generator
    // wrote, in both byte orders; otherwise the benchmark measures the wrong thing.
    const std::string y(200, 'y'), x(300, 'x');
    const std::tuple<std::string, std::string, std::string> rows[]
        = { { "NIKON CORPORATION", "NIKON CAM-1", "Nikon CAM-1" },
              { "Canon", "Canon CAM-2", "Canon CAM-2" },
              { "EASTMAN KODAK COMPANY", "KODAK CAM-3 ZOOM", "Kodak CAM-3 ZOOM" },
              { "OLYMPUS OPTICAL CO.,LTD", "CAM-4", "Olympus CAM-4" },
              { "SONY", "CAM-5", "Sony CAM-5" }, { "FUJIFILM", "CAM-6", "Fujifilm CAM-6" },
              { "ACME", "CAM-7", "ACME CAM-7" }, { "", "CAM-8", "CAM-8" },
              { y, x, y.substr(73) + ' ' + x.substr(173) } };
    for (const auto& [make, model, camera] : rows) {
        PhotoRecord r;
        CorpusPhoto photo;
        std::tie(photo.make, photo.model) = std::tie(make, model);
        ASSERT_TRUE(Parse(CorpusFileStart(photo), r));
        EXPECT_EQ(r.camera, camera);
    }
    // So are those of every other format; a HEIC whose Exif item ends the file, far beyond
    // the first read, among them.
    CorpusRandom random(2024);
    auto value = [](const CorpusRational& r) { return r.Present() ? r.Value() : 0.0; };
    const CorpusFormat others[] = { CorpusFormat::Heic, CorpusFormat::HeicTail, CorpusFormat::Cr3,
        CorpusFormat::Raf, CorpusFormat::Mrw, CorpusFormat::HeicMdatFirst, CorpusFormat::Png,
        CorpusFormat::Webp, CorpusFormat::Jxl };
    for (int i = 0; i < 50; ++i) {
        CorpusPhoto photo = DrawCorpusPhoto(random);
        photo.bigEndian = i % 2 == 1;
        const CorpusFormat format = i < 32 ? CorpusFormat::Jpeg : others[(i - 32) / 2];
        const std::string path
            = (dir.path / (std::to_string(i) + "." + CorpusExtension(format))).string();
        ASSERT_TRUE(WriteCorpusFile(path, photo, format)) << path;
        struct stat info { }; // the first 64 KiB lie on the disk, not in a hole
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_GE(info.st_blocks * 512, 65536) << path;
        PhotoRecord r;
        ASSERT_TRUE(ReadPhoto(path, r)) << path;
        EXPECT_EQ(std::make_tuple(r.path, r.camera.empty(), r.fNumber, r.exposureTime,
                      r.focalLength, r.iso, r.fileSizeMb),
            std::make_tuple(path, photo.model.empty(), value(photo.fNumber),
                value(photo.exposureTime), value(photo.focalLength), static_cast<double>(photo.iso),
                FileSizeMb(static_cast<std::uint64_t>(info.st_size))))
            << path;
    }
}

// The bytes with the n-th occurrence (from 0) of text replaced by with, which has as many
// bytes; unchanged when there is none.
static Bytes Replaced(Bytes bytes, const std::string& text, int n, const std::string& with)
{
    auto at = bytes.begin();
    for (int i = 0; i <= n; ++i) {
        at = std::search(i == 0 ? bytes.begin() : at + 1, bytes.end(), text.begin(), text.end());
        if (at == bytes.end())
            return bytes;
    }
    std::copy(with.begin(), with.end(), at);
    return bytes;
}

TEST(ExifReader, LensDateTakenAndFocal35FromTheDirectoriesReadMalformedDatesAreUnknown)
{
    // The date text alone: each field checked, leap years counted, nothing else taken.
    const std::pair<const char*, std::int64_t> dates[] = { { "2024:03:15 12:30:45",
                                                               20240315123045 },
        { "2024:02:29 00:00:00", 20240229000000 }, { "2000:02:29 23:59:59", 20000229235959 },
        { "0001:01:01 00:00:00", 10101000000 }, { "9999:12:31 23:59:59", 99991231235959 },
        { "2023:02:29 12:00:00", 0 }, { "1900:02:29 12:00:00", 0 }, { "2024:13:40 25:61:61", 0 },
        { "2024:04:31 10:00:00", 0 }, { "2024:00:10 10:00:00", 0 }, { "2024:01:00 10:00:00", 0 },
        { "2024:01:01 24:00:00", 0 }, { "2024:01:01 10:60:00", 0 }, { "2024:01:01 10:00:60", 0 },
        { "0000:01:01 10:00:00", 0 }, { "    :  :     :  :  ", 0 }, { "", 0 },
        { "2024-03-15 12:30:45", 0 }, { "2024:03:15T12:30:45", 0 }, { "2024:03:15 12:30:4", 0 },
        { "2024:03:15 12:30:45 ", 0 }, { "+024:03:15 12:30:45", 0 }, { "2024:3:15  12:30:45", 0 } };
    for (const auto& [text, taken] : dates)
        EXPECT_EQ(ParseExifDateTime(text), taken) << text;

    // Through the directories: DateTimeOriginal (the second copy of the text in the file,
    // after IFD0's DateTime) wins; when it is malformed, IFD0's DateTime stands.
    CorpusPhoto photo;
    std::tie(photo.make, photo.model, photo.lens, photo.dateTime, photo.focal35)
        = std::make_tuple("Canon", "Canon CAM-2", "EF50mm f/1.8", "2021:06:01 08:09:10", 80);
    const Bytes good = CorpusFileStart(photo);
    const std::string date = photo.dateTime;
    // A lens name of up to 3 characters lies in its entry, not at an offset; a file without
    // the three tags leaves them unknown.
    CorpusPhoto shortLens = photo, none = photo;
    shortLens.lens = "Z24";
    std::tie(none.lens, none.dateTime, none.focal35) = std::make_tuple("", "", 0);
    // Bytes, then the lens, the date taken and the 35 mm focal length read.
    const std::tuple<Bytes, std::string, std::int64_t, int> files[] = {
        { good, "EF50mm f/1.8", 20210601080910, 80 },
        { Replaced(good, date, 0, "2020:01:01 00:00:00"), "EF50mm f/1.8", 20210601080910, 80 },
        { Replaced(good, date, 1, "2024:13:40 25:61:61"), "EF50mm f/1.8", 20210601080910, 80 },
        { Replaced(Replaced(good, date, 1, "2024:13:40 25:61:61"), date, 0, "                   "),
            "EF50mm f/1.8", 0, 80 },
        // No terminator: the text runs into the next and is no date.
        { Replaced(Replaced(good, date + '\0', 1, date + 'X'), date + '\0', 0, date + 'Y'),
            "EF50mm f/1.8", 0, 80 },
        { CorpusFileStart(shortLens), "Z24", 20210601080910, 80 },
        { CorpusFileStart(none), "", 0, 0 },
    };
    for (const auto& [bytes, lens, taken, focal35] : files) {
        PhotoRecord r;
        ASSERT_TRUE(Parse(bytes, r));
        EXPECT_EQ(std::make_tuple(r.lens.str(), r.taken, int(r.focal35)),
            std::make_tuple(lens, taken, focal35));
    }
    // Cut by the end of the bytes read right after the date's last digit: no NUL, no date.
    const auto original = std::search(good.begin(), good.end(), date.begin(), date.end());
    PhotoRecord cut;
    ASSERT_TRUE(Parse(Bytes(good.begin(), original + 19), cut));
    EXPECT_EQ(cut.taken, 0);
}
