// SPDX-License-Identifier: MIT
// The bounded quantities of a photo, written once: their names, where a record keeps
// them, how the filter controls bound them and how the results list and the chart write
// their values. The scan run, the bound selectors, the query and the chart all read
// this table.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/PhotoCatalogue.h"

// How the window bounds a quantity.
enum class SelectorKind {
    None, // not bounded (charted only)
    ValueLists, // a lower and an upper drop-down list of the catalogue's distinct values
    WholeNumberTexts, // a lower and an upper edit box of whole numbers with up-down buttons
};

struct QuantityInfo {
    Quantity quantity;
    const char* name; // as the bench and the skip notes name it
    const char* showText; // its entry in the chart's Show list
    double PhotoRecord::*recordField;
    SelectorKind selector;
    // The text of a value as the results list and the chart labels write it.
    std::string (*format)(double value);
};

// One entry per quantity, in Quantity order (the Show list's order).
const QuantityInfo* QuantityTable();

// "F%.1f" for an aperture, focal length "%.1f" below 10 else "%.0f", ISO "%.0f",
// exposure time v below 1 as "1/%.0f" of 1/v else "%.1f" below 10 else "%.0f",
// file size "%.1f".
std::string FormatQuantity(Quantity q, double value);

// value as "%.<decimals>f" writes it, always with a decimal point whatever the locale.
std::string FixedText(double value, int decimals);

// "YYYY-MM-DD HH:MM:SS" of a date-time YYYYMMDDhhmmss, empty when it is 0 (unknown) or
// not of that form.
std::string TakenText(std::int64_t taken);
