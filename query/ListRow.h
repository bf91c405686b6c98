// SPDX-License-Identifier: MIT
// One row of the results list. A row holds its own copy of the photo's fields, so a
// row listed before a new scan run stays valid after the catalogue's records are
// released and replaced.
#pragma once

#include <string>
#include <string_view>

#include "catalogue/PhotoFields.h"

struct ListRow : PhotoFields {
    ListRow() = default;
    explicit ListRow(const PhotoFields& fields)
        : PhotoFields(fields)
    {
    }
    // Set while the row is listed in the expanded window: its quantity cells and sort keys
    // then read the expanded window's values (QuantityInfo::expandedValue).
    bool expandedView = false;
};

// The part of path after its last '/', or the whole path when it has none.
std::string FileNameOf(const std::string& path);

// The part of path before its last '/' ("/" for a file in the root), or empty when it
// has none.
std::string_view FolderOf(const std::string& path);
