// SPDX-License-Identifier: MIT
// A photo's fields for the tests' tables of photos, the window's own fields in column order.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/PhotoFields.h"

inline PhotoFields TestPhoto(std::string path, InternedName camera, double fNumber,
    double focalLength, double iso, double exposureTime, InternedName lens = {},
    std::int64_t taken = 0)
{
    PhotoFields photo;
    photo.path = std::move(path);
    photo.camera = camera;
    photo.fNumber = fNumber;
    photo.focalLength = focalLength;
    photo.iso = iso;
    photo.exposureTime = exposureTime;
    photo.lens = lens;
    photo.taken = taken;
    return photo;
}
