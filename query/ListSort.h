// SPDX-License-Identifier: MIT
// Sorting the results list by a column in a given direction; the directions themselves
// live with the results model.
#pragma once

#include <cstdint>
#include <vector>

#include "query/ResultColumns.h"

// Negative when a goes before b in direction (+1 ascending, -1 descending) by column, 0
// when their keys are equal, positive when a goes after b. Text keys (the whole path, not
// only the file name shown; camera and lens names; the folder) compare byte by byte as
// unsigned bytes, case-sensitive and without locale; number keys as numbers, so a missing
// value (0) comes first in ascending order. An unknown column compares everything equal.
int CompareListRows(const ListRow& a, const ListRow& b, int column, std::int32_t direction);

// The order in which rows sorted by column in direction stand: element i is the index in
// rows of the row that goes to position i. Rows with equal keys keep their relative order.
std::vector<int> SortOrder(const std::vector<ListRow>& rows, int column, std::int32_t direction);
