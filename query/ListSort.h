// SPDX-License-Identifier: MIT
// Sorting the results list by a column, each column alternating between ascending
// and descending order.
#pragma once

#include <cstdint>
#include <vector>

#include "query/ListRow.h"

// +1 (ascending) or -1 (descending) per column: the direction of the next sort by
// that column. All +1 at start; flipped by every sort request for the column, and
// never reset by a query or a scan run.
extern std::int32_t g_sortDirection[kResultColumnCount];

// Sets all six directions to +1.
void ResetSortDirections();

// Negative when a goes before b in column's current direction, 0 when their keys are
// equal, positive when a goes after b. Paths (the whole path, not only the file name
// shown) and camera texts compare byte by byte as unsigned bytes, case-sensitive and
// without locale; the four quantities compare as numbers, so a missing value (0) comes
// first in ascending order. An unknown column compares everything equal.
int CompareListRows(const ListRow& a, const ListRow& b, int column);

// The order in which rows sorted by column stand: element i is the index in rows of
// the row that goes to position i. Rows with equal keys keep their relative order.
// Does not flip the direction.
std::vector<int> SortOrder(const std::vector<ListRow>& rows, int column);
