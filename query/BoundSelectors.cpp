// SPDX-License-Identifier: MIT
#include "query/BoundSelectors.h"

#include <algorithm>
#include <cmath>

#include "catalogue/QuantityText.h"

int ValueCount(const PhotoCatalogue& catalogue, Quantity q)
{
    if (q < 0 || q >= kQuantityCount)
        return 0;
    return std::clamp(catalogue.valueCounts[q], 0, kValueTableSize);
}

std::vector<std::string> SelectorTexts(const PhotoCatalogue& catalogue, Quantity q)
{
    const int count = ValueCount(catalogue, q);
    std::vector<std::string> texts;
    if (count == 0)
        return texts;
    const QuantityInfo& row = QuantityTable()[q];
    texts.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        texts.push_back(row.selectorText(catalogue.values[q][i]));
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
// A whole number for the up-down range. The reader gives at most 4294967295
// (a 32-bit numerator over 1), which a long long holds with room to spare.
long long RangeLimit(double wholeValue)
{
    constexpr double kLimit = 1e18;
    if (std::isnan(wholeValue))
        return 0;
    return static_cast<long long>(std::clamp(wholeValue, -kLimit, kLimit));
}
} // namespace

WholeNumberFill FillWholeNumberTexts(const PhotoCatalogue& catalogue, Quantity q)
{
    WholeNumberFill fill;
    const int count = ValueCount(catalogue, q);
    if (count == 0) {
        fill.lowerText = "0";
        fill.upperText = "0";
        return fill;
    }
    // The table is ascending after a completed run; min/max keep the texts right even
    // if it were not.
    const double* first = catalogue.values[q];
    const auto [smallest, largest] = std::minmax_element(first, first + count);
    const double low = std::floor(*smallest);
    const double high = std::ceil(*largest);
    fill.lowerText = FixedText(low, 0);
    fill.upperText = FixedText(high, 0);
    fill.rangeLow = RangeLimit(low);
    fill.rangeHigh = RangeLimit(high);
    return fill;
}

BoundSelectors FillBoundSelectors(const PhotoCatalogue& catalogue)
{
    BoundSelectors selectors;
    for (int k = 0; k < kQuantityCount; ++k) {
        const Quantity q = static_cast<Quantity>(k);
        switch (QuantityTable()[k].selector) {
        case SelectorKind::ValueLists:
            selectors.lists[k] = FillSelector(catalogue, q);
            break;
        case SelectorKind::WholeNumberTexts:
            selectors.texts[k] = FillWholeNumberTexts(catalogue, q);
            break;
        case SelectorKind::None:
            break;
        }
    }
    selectors.queryEnabled = catalogue.recordCount > 0;
    return selectors;
}
