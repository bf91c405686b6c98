// SPDX-License-Identifier: MIT
// The chart's histogram over exact distinct values of one quantity.
#pragma once

#include <vector>

#include "catalogue/PhotoCatalogue.h"

struct ChartBins {
    Quantity quantity = Aperture; // the charted quantity: selects label format and bar colours
    std::vector<double> values; // distinct values, strictly ascending
    std::vector<int> counts; // counts[i] photos have exactly values[i]; always at least 1
};

// Bins the values of quantity q of the listed photos, given in list order. Values that
// are 0 or less (not given by the file), not a number or infinite are left out; the
// others are grouped by exact equality. O(n log n): a sorted copy, counted in runs.
ChartBins BinValues(Quantity q, const std::vector<double>& values);
