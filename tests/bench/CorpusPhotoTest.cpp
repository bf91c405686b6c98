// SPDX-License-Identifier: MIT
// The benchmark's corpus files must be read back by the reader with the values the
// generator wrote, in both byte orders; otherwise the benchmark measures the wrong thing.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "bench/CorpusPhoto.h"
#include "catalogue/ExifReader.h"
#include "catalogue/PhotoCatalogue.h"

namespace {

class TempFolder {
public:
    TempFolder()
    {
        char pattern[] = "/tmp/fotolot-corpus-test-XXXXXX";
        const char* made = mkdtemp(pattern);
        m_path = made ? made : "";
    }
    ~TempFolder()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

double Expected(const CorpusRational& r)
{
    return r.Present() ? r.Value() : 0.0;
}

void ExpectReadBack(const CorpusPhoto& photo, const PhotoRecord& record)
{
    EXPECT_EQ(record.fNumber, Expected(photo.fNumber));
    EXPECT_EQ(record.exposureTime, Expected(photo.exposureTime));
    EXPECT_EQ(record.focalLength, Expected(photo.focalLength));
    EXPECT_EQ(record.iso, photo.iso);
}

} // namespace

TEST(CorpusPhoto, HandMadePhotosReadBackInBothByteOrders)
{
    struct Row {
        const char* make;
        const char* model;
        const char* camera;
    };
    const Row rows[] = {
        { "NIKON CORPORATION", "NIKON CAM-1", "Nikon CAM-1" },
        { "SONY", "CAM-5", "Sony CAM-5" },
        { "ACME", "CAM-7", "ACME CAM-7" },
        { "Canon", "", "" },
    };
    TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    for (const bool bigEndian : { false, true }) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.make) + (bigEndian ? " MM" : " II"));
            CorpusPhoto photo;
            photo.make = row.make;
            photo.model = row.model;
            photo.fNumber = { 28, 10 };
            photo.exposureTime = { 1, 125 };
            photo.focalLength = { 500, 10 };
            photo.iso = 1600;
            photo.bigEndian = bigEndian;
            photo.fileSize = 1572864;
            const std::string path = folder.Path() + "/hand.jpg";
            ASSERT_TRUE(WriteCorpusFile(path, photo));

            PhotoRecord record;
            ASSERT_TRUE(ReadPhoto(path, record));
            EXPECT_EQ(record.path, path);
            EXPECT_EQ(record.camera, row.camera);
            EXPECT_EQ(record.fNumber, 2.8);
            EXPECT_EQ(record.exposureTime, 0.008);
            EXPECT_EQ(record.focalLength, 50.0);
            EXPECT_EQ(record.iso, 1600.0);
            EXPECT_EQ(record.fileSizeMb, 1.5);
        }
    }
}

TEST(CorpusPhoto, DrawnCorpusReadsBackAndJfifFirstIsRejected)
{
    TempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    CorpusRandom random(2024);
    int bigEndian = 0;
    int rejected = 0;
    for (int i = 0; i < 300; ++i) {
        const CorpusPhoto photo = DrawCorpusPhoto(random);
        SCOPED_TRACE(i);
        const std::string path = folder.Path() + "/" + std::to_string(i) + ".jpg";
        ASSERT_TRUE(WriteCorpusFile(path, photo));
        PhotoRecord record;
        const bool accepted = ReadPhoto(path, record);
        EXPECT_EQ(accepted, !photo.jfifFirst);
        if (!accepted) {
            ++rejected;
            continue;
        }
        bigEndian += photo.bigEndian ? 1 : 0;
        ExpectReadBack(photo, record);
        EXPECT_EQ(record.fileSizeMb, FileSizeMb(photo.fileSize));
        EXPECT_GE(record.fileSizeMb, 1.0);
        EXPECT_LE(record.fileSizeMb, 12.0);
    }
    // Both byte orders and the rejected kind occur in a corpus of this size.
    EXPECT_GT(bigEndian, 50);
    EXPECT_GT(rejected, 0);
}

TEST(CorpusPhoto, FileIsShapedLikeAJpegAndDeterministic)
{
    CorpusRandom first(99);
    CorpusRandom second(99);
    for (int i = 0; i < 50; ++i) {
        SCOPED_TRACE(i);
        const CorpusPhoto photo = DrawCorpusPhoto(first);
        const std::vector<std::uint8_t> bytes = CorpusFileStart(photo);
        EXPECT_EQ(bytes, CorpusFileStart(DrawCorpusPhoto(second)));

        ASSERT_GE(bytes.size(), 24u);
        EXPECT_EQ(bytes[0], 0xFF);
        EXPECT_EQ(bytes[1], 0xD8);
        // The EXIF segment, after the JFIF one if there is one; its length must lead
        // exactly to the quantisation table's marker.
        const std::size_t app1 = photo.jfifFirst ? 20 : 2;
        ASSERT_EQ(bytes[app1], 0xFF);
        ASSERT_EQ(bytes[app1 + 1], 0xE1);
        const std::size_t length = bytes[app1 + 2] * 256u + bytes[app1 + 3];
        ASSERT_LT(app1 + 2 + length + 1, bytes.size());
        EXPECT_EQ(bytes[app1 + 2 + length], 0xFF);
        EXPECT_EQ(bytes[app1 + 2 + length + 1], 0xDB);
    }

    TempFolder folder;
    CorpusRandom random(5);
    const CorpusPhoto photo = DrawCorpusPhoto(random);
    const std::string path = folder.Path() + "/eoi.jpg";
    ASSERT_TRUE(WriteCorpusFile(path, photo));
    const int fd = open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    std::uint8_t eoi[3] = {};
    EXPECT_EQ(pread(fd, eoi, 3, static_cast<off_t>(photo.fileSize - 2)), 2);
    close(fd);
    EXPECT_EQ(eoi[0], 0xFF);
    EXPECT_EQ(eoi[1], 0xD9);
}
