// SPDX-License-Identifier: MIT
#include "query/BoundSelectors.h"

#include <algorithm>
#include <cmath>

#include "query/NumberText.h"

int ValueCount(const PhotoCatalogue& catalogue, Quantity q)
{
    if (q < 0 || q >= kQuantityCount)
        return 0;
    return std::clamp(catalogue.valueCounts[q], 0, kValueTableSize);
}

std::string SelectorText(Quantity q, double value)
{
    switch (q) {
    case Aperture:
        return "F" + FormatFixed(value, 1);
    case ShutterSpeed:
        // The lists carry no one-decimal form: 2.5 s reads "2" here ("2.5" in the list).
        if (value < 1.0)
            return "1/" + FormatFixed(1.0 / value, 0);
        return FormatFixed(value, 0);
    default:
        return FormatFixed(value, 0);
    }
}

std::vector<std::string> SelectorTexts(const PhotoCatalogue& catalogue, Quantity q)
{
    const int count = ValueCount(catalogue, q);
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        texts.push_back(SelectorText(q, catalogue.values[q][i]));
    return texts;
}

SelectorFill FillSelector(const PhotoCatalogue& catalogue, Quantity q)
{
    SelectorFill fill;
    fill.texts = SelectorTexts(catalogue, q);
    if (!fill.texts.empty()) {
        fill.lowerIndex = 0;
        fill.upperIndex = static_cast<int>(fill.texts.size()) - 1;
    }
    return fill;
}

namespace {
// A whole number of millimetres for the up-down range. The reader gives at most 4294967295
// (a 32-bit numerator over 1), which a long long holds with room to spare.
long long RangeLimit(double wholeValue)
{
    constexpr double kLimit = 1e18;
    if (std::isnan(wholeValue))
        return 0;
    return static_cast<long long>(std::clamp(wholeValue, -kLimit, kLimit));
}
} // namespace

FocalFill FillFocalTexts(const PhotoCatalogue& catalogue)
{
    FocalFill fill;
    const int count = ValueCount(catalogue, FocalLength);
    if (count == 0) {
        fill.lowerText = "0";
        fill.upperText = "0";
        return fill;
    }
    // The table is ascending after a completed run; min/max keep the texts right even
    // if it were not.
    const double* first = catalogue.values[FocalLength];
    const auto [smallest, largest] = std::minmax_element(first, first + count);
    const double low = std::floor(*smallest);
    const double high = std::ceil(*largest);
    fill.lowerText = FormatFixed(low, 0);
    fill.upperText = FormatFixed(high, 0);
    fill.rangeLow = RangeLimit(low);
    fill.rangeHigh = RangeLimit(high);
    return fill;
}

BoundSelectors FillBoundSelectors(const PhotoCatalogue& catalogue)
{
    BoundSelectors selectors;
    selectors.aperture = FillSelector(catalogue, Aperture);
    selectors.iso = FillSelector(catalogue, Iso);
    selectors.shutterSpeed = FillSelector(catalogue, ShutterSpeed);
    selectors.focal = FillFocalTexts(catalogue);
    selectors.queryEnabled = catalogue.recordCount > 0;
    return selectors;
}
