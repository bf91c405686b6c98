// SPDX-License-Identifier: MIT
// A photo's fields as the reader finds them, held alike by the catalogue's record and by
// the results list's row: a new field is one member here, one case in the reader and one
// row in the column or quantity table, and every copy of a photo carries it.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/InternedName.h"
#include "catalogue/PhotoExtras.h"

// A quantity of exactly 0 means the file did not give it.
struct PhotoFields {
    std::string path; // full path as the file system spells it, never cut
    InternedName camera; // built from EXIF Make and Model
    InternedName lens; // EXIF LensModel; empty when the file gives none
    // The local date and time taken as the number YYYYMMDDhhmmss (2024-03-15 12:30:45 is
    // 20240315123045), 0 when unknown. Ordered as the moments are.
    std::int64_t taken = 0;
    std::uint16_t focal35 = 0; // 35 mm-equivalent focal length in millimetres, 0 = unknown
    double iso = 0;
    double exposureTime = 0; // seconds
    double focalLength = 0; // millimetres
    double fNumber = 0;
    double fileSizeMb = 0; // units of 1,048,576 bytes, one decimal
    PhotoExtras extras; // for the expanded window only
};
