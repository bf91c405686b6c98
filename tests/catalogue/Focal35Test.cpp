// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <tuple>

#include "catalogue/ExifReader.h"
#include "catalogue/Focal35.h"
#include "tests/support/CorpusPhoto.h"

TEST(Focal35, FocalPlaneCropFromEachUnit)
{
    // x resolution, y resolution, unit, width, height (pixels), crop factor.
    const std::tuple<double, double, int, std::uint32_t, std::uint32_t, double> rows[] = {
        { 6485.1064, 0, 2, 6000, 0, 1.53191 }, // 23.5 mm wide, pixels per inch
        { 6485.1064, 0, 0, 6000, 0, 1.53191 }, // no unit given: inches
        { 2553.1915, 0, 3, 6000, 0, 1.53191 }, // per centimetre
        { 231.2139, 230.7692, 4, 4000, 3000, 1.99940 }, // 17.3 x 13 mm: by the diagonal
        { 0.25, 0.25, 5, 9000, 6000, 1.0 }, // per micrometre: 36 x 24 mm
        { 6485.1064, 0, 1, 6000, 0, 0 }, // "no unit"
        { 0, 0, 2, 6000, 4000, 0 }, // no resolution
        { 6485.1064, 6485.1064, 2, 0, 4000, 0 }, // no width
        { 1e6, 0, 2, 6000, 0, 0 }, // a sensor of 0.15 mm: a misread tag
    };
    for (const auto& [x, y, unit, width, height, crop] : rows) {
        PhotoExtras extras;
        extras.focalPlaneXResolution = x;
        extras.focalPlaneYResolution = y;
        extras.focalPlaneUnit = static_cast<std::uint16_t>(unit);
        extras.pixelWidth = width;
        extras.pixelHeight = height;
        EXPECT_NEAR(FocalPlaneCrop(extras), crop, 1e-4) << x << ' ' << unit << ' ' << width;
    }
}

TEST(Focal35, EachSourceInTurn)
{
    struct Row {
        const char* camera;
        double focal;
        std::uint16_t tag;
        double planeResolution; // pixels per inch over 6000 pixels, 0: none
        double focal35;
        Focal35Source source;
    };
    // Camera A: ratios 1.5, 1.5, 1.6 (median 1.5). Camera B disagrees: 1.5, 1.6, 2.0, 2.1
    // (median 1.8). Camera C has no tagged photo but its focal plane: 23.5 mm, 1.5319.
    const Row rows[] = {
        { "A", 10, 15, 0, 15, Focal35Source::Tag },
        { "A", 20, 30, 0, 30, Focal35Source::Tag },
        { "A", 10, 16, 0, 16, Focal35Source::Tag },
        { "A", 30, 0, 6485.1064, 45, Focal35Source::CameraRatio },
        { "B", 10, 15, 0, 15, Focal35Source::Tag },
        { "B", 10, 16, 0, 16, Focal35Source::Tag },
        { "B", 10, 20, 0, 20, Focal35Source::Tag },
        { "B", 10, 21, 0, 21, Focal35Source::Tag },
        { "B", 10, 0, 0, 18, Focal35Source::CameraRatio },
        { "C", 50, 0, 6485.1064, 77, Focal35Source::FocalPlane },
        { "C", 0, 0, 6485.1064, 0, Focal35Source::None }, // no focal length
        { "D", 50, 0, 0, 0, Focal35Source::None },
        { "D", 0, 28, 0, 28, Focal35Source::Tag }, // the tag alone: no ratio learnt
        { "D", 35, 0, 0, 0, Focal35Source::None },
    };
    PhotoCatalogue catalogue;
    std::unique_ptr<PhotoRecord>* link = &catalogue.head;
    for (const Row& row : rows) {
        *link = std::make_unique<PhotoRecord>();
        PhotoRecord& r = **link;
        r.camera = row.camera;
        r.focalLength = row.focal;
        r.focal35 = row.tag;
        r.extras.focalPlaneXResolution = row.planeResolution;
        r.extras.pixelWidth = 6000;
        link = &r.next;
        ++catalogue.recordCount;
    }
    LearnFocal35(catalogue);
    const PhotoRecord* r = catalogue.head.get();
    for (const Row& row : rows) {
        EXPECT_EQ(std::make_tuple(r->extras.focal35, r->extras.focal35Source),
            std::make_tuple(row.focal35, row.source))
            << row.camera << ' ' << row.focal;
        r = r->next.get();
    }
}

TEST(Focal35, FocalPlaneReadInBothByteOrders)
{
    // 4000 x 3000 pixels over 23.6 x 17.7 mm: 4000 / (23.6 / 25.4) pixels per inch, a crop
    // of 43.27 / 29.5 by the diagonal; 35 mm at that crop is 51 mm.
    for (bool bigEndian : { false, true }) {
        CorpusPhoto photo;
        photo.make = "Acme";
        photo.model = "Cam";
        photo.focalLength = { 35, 1 };
        photo.focalPlaneResolution = { 1016000, 236 };
        photo.bigEndian = bigEndian;
        const std::vector<std::uint8_t> bytes = CorpusFileStart(photo);
        PhotoRecord record;
        ASSERT_TRUE(ParseExif(record, bytes.data(), bytes.size()));
        EXPECT_EQ(std::make_tuple(record.extras.pixelWidth, record.extras.pixelHeight,
                      record.extras.focalPlaneUnit),
            std::make_tuple(4000u, 3000u, std::uint16_t { 2 }));
        SetFocal35(record, {});
        EXPECT_EQ(record.extras.focal35, 51);
        EXPECT_EQ(record.extras.focal35Source, Focal35Source::FocalPlane);
    }
}
