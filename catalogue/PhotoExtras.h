// SPDX-License-Identifier: MIT
// What the reader finds in a photo beyond the values the window as it starts shows: read
// only for the expanded window, which uses these where they are set and the record's own
// values elsewhere. The window as it starts never looks here, so nothing read into this
// struct can change what it lists, counts or draws.
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

struct PhotoExtras {
    // Set only for such a file: shared, unchanged, by the record and its list rows.
    std::shared_ptr<const DirectoryValues> directories;
};
