// SPDX-License-Identifier: MIT
// What the bound selectors show after a completed scan run: the entries of the
// aperture, ISO and shutter-speed lists with their initial selections, and the two
// focal-length texts with the range their up-down buttons step in.
#pragma once

#include <string>
#include <vector>

#include "catalogue/PhotoCatalogue.h"

// The entries of quantity q's lower and upper list (both lists hold the same ones):
// entry i is the text of value-table entry i, in table order. Aperture "F%.1f",
// ISO "%.0f", shutter speed "1/%.0f" of 1/v below 1 s and "%.0f" of v from 1 s on.
// Any other quantity gives the texts of Iso.
std::vector<std::string> SelectorTexts(const PhotoCatalogue& catalogue, Quantity q);

// The text of one list entry of quantity q, as SelectorTexts writes it.
std::string SelectorText(Quantity q, double value);

struct SelectorFill {
    std::vector<std::string> texts;
    int lowerIndex = -1; // entry 0, or -1 (no selection) when the table is empty
    int upperIndex = -1; // the last entry, or -1 when the table is empty
};

SelectorFill FillSelector(const PhotoCatalogue& catalogue, Quantity q);

// The focal-length texts span the whole catalogue: the lower text is the smallest
// focal length rounded down and the upper text the largest rounded up (17.5 and 54.4
// give "17" and "55"), so that a query with unchanged texts lists every photo. The
// up-down range runs between the same two whole numbers. An empty table gives "0",
// "0" and the range 0 to 0.
struct FocalFill {
    std::string lowerText;
    std::string upperText;
    long long rangeLow = 0; // millimetres
    long long rangeHigh = 0; // millimetres
};

FocalFill FillFocalTexts(const PhotoCatalogue& catalogue);

// Everything OnOpen writes into the filter controls after a completed scan run.
struct BoundSelectors {
    SelectorFill aperture;
    SelectorFill iso;
    SelectorFill shutterSpeed;
    FocalFill focal;
    bool queryEnabled = false; // the catalogue holds at least one photo
};

BoundSelectors FillBoundSelectors(const PhotoCatalogue& catalogue);

// The number of valid entries of quantity q's value table, never outside 0..200.
int ValueCount(const PhotoCatalogue& catalogue, Quantity q);
