// SPDX-License-Identifier: MIT
#include "query/PhotoQuery.h"

#include <limits>

#include "query/BoundSelectors.h"
#include "query/NumberText.h"

bool WithinBounds(double value, double lower, double upper)
{
    return value == 0 || (lower <= value && value <= upper);
}

namespace {
bool HasEntry(const PhotoCatalogue& catalogue, Quantity q, int selection)
{
    return selection >= 0 && selection < ValueCount(catalogue, q);
}
} // namespace

double LowerBound(const PhotoCatalogue& catalogue, Quantity q, int selection)
{
    if (!HasEntry(catalogue, q, selection))
        return -std::numeric_limits<double>::infinity();
    return catalogue.values[q][selection];
}

double UpperBound(const PhotoCatalogue& catalogue, Quantity q, int selection)
{
    if (!HasEntry(catalogue, q, selection))
        return std::numeric_limits<double>::infinity();
    return catalogue.values[q][selection];
}

namespace {
// An absent bound must let every value through, also one that is not a number.
bool Passes(double value, double lower, double upper, bool bounded)
{
    return !bounded || WithinBounds(value, lower, upper);
}
} // namespace

QueryResult RunQuery(const PhotoCatalogue& catalogue, const QueryBounds& bounds)
{
    const double apertureLower = LowerBound(catalogue, Aperture, bounds.apertureLower);
    const double apertureUpper = UpperBound(catalogue, Aperture, bounds.apertureUpper);
    const bool apertureBounded = HasEntry(catalogue, Aperture, bounds.apertureLower)
        || HasEntry(catalogue, Aperture, bounds.apertureUpper);
    const double isoLower = LowerBound(catalogue, Iso, bounds.isoLower);
    const double isoUpper = UpperBound(catalogue, Iso, bounds.isoUpper);
    const bool isoBounded
        = HasEntry(catalogue, Iso, bounds.isoLower) || HasEntry(catalogue, Iso, bounds.isoUpper);
    const double shutterLower = LowerBound(catalogue, ShutterSpeed, bounds.shutterLower);
    const double shutterUpper = UpperBound(catalogue, ShutterSpeed, bounds.shutterUpper);
    const bool shutterBounded = HasEntry(catalogue, ShutterSpeed, bounds.shutterLower)
        || HasEntry(catalogue, ShutterSpeed, bounds.shutterUpper);
    const double focalLower = ParseLeadingNumber(bounds.focalLowerText);
    const double focalUpper = ParseLeadingNumber(bounds.focalUpperText);

    QueryResult result;
    result.photoCount = catalogue.recordCount;
    const PhotoRecord* record = catalogue.head.get();
    for (int i = 0; i < catalogue.recordCount && record; ++i, record = record->next.get()) {
        const bool passes = Passes(record->fNumber, apertureLower, apertureUpper, apertureBounded)
            && WithinBounds(record->focalLength, focalLower, focalUpper)
            && Passes(record->iso, isoLower, isoUpper, isoBounded)
            && Passes(record->exposureTime, shutterLower, shutterUpper, shutterBounded);
        if (passes)
            result.rows.push_back(MakeListRow(*record));
    }
    result.countText = CountText(static_cast<int>(result.rows.size()), result.photoCount);
    return result;
}

std::string CountText(int matches, int photos)
{
    return std::to_string(matches) + "/" + std::to_string(photos);
}
