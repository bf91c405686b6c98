// SPDX-License-Identifier: MIT
// The query: the photos of the catalogue that lie within all four bounds.
#pragma once

#include <string>
#include <vector>

#include "catalogue/PhotoCatalogue.h"
#include "query/ListRow.h"
#include "query/PanelFilters.h"

// The state of the filter controls when Query is pressed. The list bounds are the
// selection indices of the six drop-down lists, indices into the value tables
// (-1: no selection); the focal bounds are the two edit texts as typed.
struct QueryBounds {
    int apertureLower = -1;
    int apertureUpper = -1;
    int isoLower = -1;
    int isoUpper = -1;
    int shutterLower = -1;
    int shutterUpper = -1;
    std::string focalLowerText;
    std::string focalUpperText;
};

struct QueryResult {
    std::vector<ListRow> rows; // the matches in catalogue order
    int photoCount = 0; // the number of photos in the catalogue
    std::string countText; // "%d/%d": matches, then photos
    PanelCounts counts; // with panel filters only
};

// Whether value passes the inclusive bounds lower..upper. A value of exactly 0 is
// missing and passes any bounds.
bool WithinBounds(double value, double lower, double upper);

// The bound of quantity q taken from its list's selection index: the table entry at
// that index. No selection (or an index outside the table) gives no bound on that
// side, so a quantity whose table is empty restricts nothing.
double LowerBound(const PhotoCatalogue& catalogue, Quantity q, int selection);
double UpperBound(const PhotoCatalogue& catalogue, Quantity q, int selection);

// Walks the recordCount photos of the view shown (ShownPhotos) and lists those that pass all four
// bounds: the aperture, ISO and shutter-speed bounds are table values at the selected
// indices, the focal bounds the edit texts read as atof reads them (a text that is no
// number counts as 0, so an upper text of letters passes only photos without a focal
// length).
//
// With panel filters (the expanded window), a photo must also have a chosen camera and a
// chosen lens and, when it has a date, one within the days; a photo that lacks a
// quantity or a date passes its bounds only when withoutValuePasses is set or the bounds
// are untouched (still spanning the whole catalogue: list bounds at the first and last
// entry, focal texts at the whole numbers the selectors were filled with, days at the
// first and last day). The faceted counts are filled then, in one pass.
QueryResult RunQuery(const PhotoCatalogue& catalogue, const QueryBounds& bounds,
    const PanelFilters* panel = nullptr);

// "%d/%d" of matches and photos.
std::string CountText(int matches, int photos);
