// SPDX-License-Identifier: MIT
// Display texts of the photo quantities, shared by the results list, the selectors and
// the chart labels.
#pragma once

#include <string>

#include "catalogue/PhotoCatalogue.h"

// "F%.1f" for an aperture, focal length "%.1f" below 10 else "%.0f", ISO "%.0f",
// exposure time v below 1 as "1/%.0f" of 1/v else "%.1f" below 10 else "%.0f",
// file size "%.1f".
std::string FormatQuantity(Quantity q, double value);
