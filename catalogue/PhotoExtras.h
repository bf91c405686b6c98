// SPDX-License-Identifier: MIT
// What the reader finds in a photo beyond the values the window as it starts shows: read
// only for the expanded window, which uses these where they are set and the record's own
// values elsewhere. The window as it starts never looks here, so nothing read into this
// struct can change what it lists, counts or draws; the catalogue reads exifPlace alone, to
// keep the photos that only the expanded window counts out of the other's view.
#pragma once

#include <cstdint>
#include <memory>

#include "catalogue/InternedName.h"

// A photo's values as read from its directories wherever they lie in the file, for a
// TIFF-based file (TIFF, DNG, NEF, CR2, ...) whose IFD0 or EXIF directory lies past the
// first 32 KiB that the window as it starts reads. Units as in PhotoRecord; 0 or empty
// where the file gives none.
struct DirectoryValues {
    InternedName camera;
    InternedName lens;
    std::int64_t taken = 0;
    std::uint16_t focal35 = 0;
    double iso = 0;
    double exposureTime = 0;
    double focalLength = 0;
    double fNumber = 0;
};

// Where the reader found a photo's EXIF block.
enum class ExifPlace : std::uint8_t {
    // Where the window as it starts looks: byte 12 of a JPEG whose first segment is EXIF,
    // byte 0 of a TIFF file, or another container's own place for it.
    Start,
    // A JPEG's APP1 "Exif" segment after other leading segments (JFIF, an ICC profile, a
    // Photoshop block, ...): a photo of the expanded window only.
    LaterSegment,
};

struct PhotoExtras {
    // Set only for a file whose directories lie past the first read: shared, unchanged,
    // by the record and its list rows.
    std::shared_ptr<const DirectoryValues> directories;
    ExifPlace exifPlace = ExifPlace::Start;
};
