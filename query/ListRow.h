// SPDX-License-Identifier: MIT
// One row of the results list. A row holds its own copy of the photo's values, so a
// row listed before a new scan run stays valid after the catalogue's records are
// released and replaced.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "catalogue/PhotoCatalogue.h"

struct ListRow {
    std::string path; // full path as the file system spells it
    InternedName camera; // camera text as stored in the record
    double values[kQuantityCount] = {}; // by Quantity; 0 where the file gives none
    InternedName lens;
    std::int64_t taken = 0; // YYYYMMDDhhmmss, 0 unknown
    std::uint16_t focal35 = 0; // millimetres, 0 unknown
    PhotoExtras extras; // for the expanded window only

    ListRow() = default;
    // A row of the given values, the quantities in Quantity order.
    ListRow(std::string path, InternedName camera, double fNumber, double focalLength, double iso,
        double exposureTime, double fileSizeMb = 0, InternedName lens = {}, std::int64_t taken = 0,
        std::uint16_t focal35 = 0);

    double Value(Quantity q) const { return q >= 0 && q < kQuantityCount ? values[q] : 0.0; }
};

// The row of a record: every field copied, so that a new field is copied here too.
inline ListRow MakeListRow(const PhotoRecord& record)
{
    ListRow row;
    row.path = record.path;
    row.camera = record.camera;
    row.lens = record.lens;
    row.taken = record.taken;
    row.focal35 = record.focal35;
    row.extras = record.extras;
    for (int k = 0; k < kQuantityCount; ++k)
        row.values[k] = record.Value(static_cast<Quantity>(k));
    return row;
}

// Exchanges the row's ISO speed (values[Iso]) with the expanded window's (extras.iso) when
// that one comes from elsewhere than ISOSpeedRatings: the results list shows the expanded
// window's while it is on. Applied twice, the row is as it was.
inline void SwapExpandedIso(ListRow& row)
{
    if (row.extras.isoSource != IsoSource::None
        && row.extras.isoSource != IsoSource::IsoSpeedRatings)
        std::swap(row.values[Iso], row.extras.iso);
}

// The part of path after its last '/', or the whole path when it has none.
std::string FileNameOf(const std::string& path);

// The part of path before its last '/' ("/" for a file in the root), or empty when it
// has none.
std::string_view FolderOf(const std::string& path);
