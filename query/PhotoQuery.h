// SPDX-License-Identifier: MIT
// The query: the photos of the catalogue that lie within all four bounds.
#pragma once

#include <string>
#include <vector>

#include "catalogue/PhotoCatalogue.h"
#include "query/ListRow.h"

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
};

// Whether value passes the inclusive bounds lower..upper. A value of exactly 0 is
// missing and passes any bounds.
bool WithinBounds(double value, double lower, double upper);

// The bound of quantity q taken from its list's selection index: the table entry at
// that index. No selection (or an index outside the table) gives no bound on that
// side, so a quantity whose table is empty restricts nothing.
double LowerBound(const PhotoCatalogue& catalogue, Quantity q, int selection);
double UpperBound(const PhotoCatalogue& catalogue, Quantity q, int selection);

// Walks exactly recordCount records from head and lists those that pass all four
// bounds: the aperture, ISO and shutter-speed bounds are table values at the selected
// indices, the focal bounds the edit texts read as atof reads them (a text that is no
// number counts as 0, so an upper text of letters passes only photos without a focal
// length).
QueryResult RunQuery(const PhotoCatalogue& catalogue, const QueryBounds& bounds);

// "%d/%d" of matches and photos.
std::string CountText(int matches, int photos);
