// SPDX-License-Identifier: MIT
// The query: the photos of the catalogue that lie within every bound.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/PhotoCatalogue.h"
#include "query/ListRow.h"
#include "query/PanelFilters.h"

// The state of one quantity's bound controls when Query is pressed.
struct QuantityBound {
    // Value lists: the selection indices of the lower and the upper list, indices into the
    // quantity's value table (-1: no selection).
    int lowerIndex = -1;
    int upperIndex = -1;
    // Whole-number texts: the lower and the upper edit text as typed.
    std::string lowerText;
    std::string upperText;
};

// The bounds of a pair of value lists, and of a pair of whole-number texts.
inline QuantityBound ListSelection(int lowerIndex, int upperIndex)
{
    return { lowerIndex, upperIndex, {}, {} };
}
inline QuantityBound TextBounds(std::string lowerText, std::string upperText)
{
    return { -1, -1, std::move(lowerText), std::move(upperText) };
}

// The bounds by Quantity, read as the quantity's selector kind says; a quantity bounded
// by no control, or shown only in the expanded window while it is off, restricts nothing.
using QueryBounds = std::array<QuantityBound, kQuantityCount>;

struct QueryResult {
    std::vector<ListRow> rows; // the matches in catalogue order
    int photoCount = 0; // the number of photos in the catalogue
    std::string countText; // "%d/%d": matches, then photos
    PanelCounts counts; // with panel filters only
};

// Walks exactly recordCount records from head and lists those that pass every bound,
// inclusive at both ends: a list bound is the table value at the selected index (no
// selection, or an index outside the table, gives no bound on that side, so a quantity
// whose table is empty restricts nothing); a text bound is the text read as atof reads it
// (a text that is no number counts as 0, so an upper text of letters passes only photos
// without the value). A photo that lacks a value (its row's missing rule) passes every
// bound on it.
//
// With panel filters (the expanded window), the expanded-only quantities are bounded too
// and read where their rows say; a photo must also have a chosen camera and a chosen lens
// and, when it has a date, one within the days; a photo that lacks a quantity or a date
// passes its bounds only when withoutValuePasses is set or the bounds are untouched
// (still spanning the whole catalogue: list bounds at the first and last entry, texts at
// the whole numbers the selectors were filled with, days at the first and last day). The
// faceted counts are filled then, in one pass.
QueryResult RunQuery(const PhotoCatalogue& catalogue, const QueryBounds& bounds,
    const PanelFilters* panel = nullptr);

// "%d/%d" of matches and photos.
std::string CountText(int matches, int photos);
