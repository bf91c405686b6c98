// SPDX-License-Identifier: MIT
// What the bound selectors show after a completed scan run, quantity by quantity as its
// row of the quantity table says: the entries of a pair of value lists with their initial
// selections, or a pair of whole-number texts with the range their up-down buttons step in.
#pragma once

#include <string>
#include <vector>

#include "catalogue/PhotoCatalogue.h"

// The entries of quantity q's lower and upper list (both lists hold the same ones):
// entry i is the text of value-table entry i, in table order, as the quantity's
// selectorText writes it (aperture "F%.1f", ISO "%.0f", shutter speed "1/%.0f" of 1/v
// below 1 s and "%.0f" of v from 1 s on).
std::vector<std::string> SelectorTexts(const PhotoCatalogue& catalogue, Quantity q);

struct SelectorFill {
    std::vector<std::string> texts;
    int lowerIndex = -1; // entry 0, or -1 (no selection) when the table is empty
    int upperIndex = -1; // the last entry, or -1 when the table is empty
};

SelectorFill FillSelector(const PhotoCatalogue& catalogue, Quantity q);

// A pair of whole-number texts spans the whole catalogue: the lower text is the smallest
// value rounded down and the upper text the largest rounded up (focal lengths 17.5 and
// 54.4 give "17" and "55"), so that a query with unchanged texts lists every photo. The
// up-down range runs between the same two whole numbers. An empty table gives "0", "0"
// and the range 0 to 0.
struct WholeNumberFill {
    std::string lowerText;
    std::string upperText;
    long long rangeLow = 0; // in the quantity's unit
    long long rangeHigh = 0;
};

WholeNumberFill FillWholeNumberTexts(const PhotoCatalogue& catalogue, Quantity q);

// Everything the bound controls show after a completed scan run, by Quantity: lists for
// the quantities bounded by value lists, texts for those bounded by whole-number texts
// (the other entries stay empty).
struct BoundSelectors {
    SelectorFill lists[kQuantityCount];
    WholeNumberFill texts[kQuantityCount];
    bool queryEnabled = false; // the catalogue holds at least one photo
};

BoundSelectors FillBoundSelectors(const PhotoCatalogue& catalogue);

// The number of valid entries of quantity q's value table, never outside 0..200.
int ValueCount(const PhotoCatalogue& catalogue, Quantity q);
