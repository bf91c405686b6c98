// SPDX-License-Identifier: MIT
// What the reader finds in a photo beyond the values the window as it starts shows: read
// only for the expanded window, which uses these where they are set and the record's own
// values elsewhere. The window as it starts never looks here, so nothing read into this
// struct can change what it lists, counts or draws; the catalogue reads exifPlace alone, to
// keep the photos that only the expanded window counts out of the other's view.
#pragma once

#include <cstdint>

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
    ExifPlace exifPlace = ExifPlace::Start;
};
