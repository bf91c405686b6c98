// SPDX-License-Identifier: MIT
// The benchmark's corpus files must be read back by the reader with the values the
// generator wrote, in both byte orders; otherwise the benchmark measures the wrong thing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "bench/CorpusPhoto.h"
#include "catalogue/ExifReader.h"
#include "catalogue/PhotoCatalogue.h"
#include "tests/catalogue/ExifTestFiles.h"

TEST(CorpusPhoto, GeneratedPhotosReadBackInBothByteOrders)
{
    TempDir dir;
    CorpusRandom random(2024);
    auto value = [](const CorpusRational& r) { return r.Present() ? r.Value() : 0.0; };
    for (int i = 0; i < 40; ++i) {
        CorpusPhoto photo = DrawCorpusPhoto(random);
        photo.bigEndian = i % 2 == 1;
        photo.jfifFirst = i == 0; // the reader turns it away
        const std::string path = (dir.path / (std::to_string(i) + ".jpg")).string();
        ASSERT_TRUE(WriteCorpusFile(path, photo)) << i;
        struct stat info { }; // the first 64 KiB lie on the disk, not in a hole
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_GE(info.st_blocks * 512, 65536) << i;
        PhotoRecord r;
        ASSERT_EQ(ReadPhoto(path, r), !photo.jfifFirst) << i;
        if (photo.jfifFirst)
            continue;
        EXPECT_EQ(std::make_tuple(r.path, r.camera.empty(), r.fNumber, r.exposureTime,
                      r.focalLength, r.iso, r.fileSizeMb),
            std::make_tuple(path, photo.model.empty(), value(photo.fNumber),
                value(photo.exposureTime), value(photo.focalLength), static_cast<double>(photo.iso),
                FileSizeMb(photo.fileSize)))
            << i;
    }
}
