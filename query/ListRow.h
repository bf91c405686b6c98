// SPDX-License-Identifier: MIT
// One row of the results list. A row holds its own copy of the photo's values, so a
// row listed before a new scan run stays valid after the catalogue's records are
// released and replaced.
#pragma once

#include <string>

#include "catalogue/PhotoCatalogue.h"

// Columns of the results list, in display order.
enum ResultColumn : int {
    FileColumn = 0,
    CameraColumn = 1,
    ApertureColumn = 2,
    FocalLengthColumn = 3,
    IsoColumn = 4,
    ShutterSpeedColumn = 5,
};
constexpr int kResultColumnCount = 6;

struct ListRow {
    std::string path; // full path as the file system spells it
    std::string camera; // camera text as stored in the record
    double fNumber = 0;
    double focalLength = 0; // millimetres
    double iso = 0;
    double exposureTime = 0; // seconds
    double fileSizeMb = 0; // units of 1,048,576 bytes

    double Value(Quantity q) const;
};

ListRow MakeListRow(const PhotoRecord& record);

// The part of path after its last '/', or the whole path when it has none.
std::string FileNameOf(const std::string& path);

// The text a cell of the results list shows: the file name, the camera, "F%.1f",
// the focal length, the ISO ("n/a" below 1) and the shutter speed ("n/a" for a
// missing exposure time). An unknown column gives an empty text.
std::string CellText(const ListRow& row, int column);
