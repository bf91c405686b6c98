// SPDX-License-Identifier: MIT
#include "query/PhotoQuery.h"

#include <limits>
#include <unordered_map>

#include "query/BoundSelectors.h"
#include "query/NumberText.h"
#include "query/PanelFilters.h"

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

namespace {
// A bound pair of a quantity, and whether it was moved from the catalogue's full span.
struct Bound {
    double lower = -std::numeric_limits<double>::infinity();
    double upper = std::numeric_limits<double>::infinity();
    bool bounded = false; // false: no bound at all, every value passes
    bool touched = false;
    // Which ends were moved from the catalogue's span: an end left there bounds nothing in
    // the expanded window, whose ISO speeds may lie beyond the span of the records' own.
    bool lowerTouched = false;
    bool upperTouched = false;
};

Bound ListBound(const PhotoCatalogue& catalogue, Quantity q, int lower, int upper)
{
    Bound b;
    b.lower = LowerBound(catalogue, q, lower);
    b.upper = UpperBound(catalogue, q, upper);
    b.bounded = HasEntry(catalogue, q, lower) || HasEntry(catalogue, q, upper);
    const int last = ValueCount(catalogue, q) - 1;
    b.lowerTouched = HasEntry(catalogue, q, lower) && lower != 0;
    b.upperTouched = HasEntry(catalogue, q, upper) && upper != last;
    b.touched = b.lowerTouched || b.upperTouched;
    return b;
}

// Where a photo's camera or lens stands in the panel's lines, found by the interned
// name's address.
class LineIndex {
public:
    explicit LineIndex(const std::vector<InternedName>& names)
    {
        m_index.reserve(names.size() * 2);
        for (std::size_t i = 0; i < names.size(); ++i)
            m_index.emplace(&names[i].str(), static_cast<int>(i));
    }
    // -1 for a name without a line.
    int Of(const InternedName& name)
    {
        const std::string* key = &name.str();
        if (key != m_lastKey) {
            const auto found = m_index.find(key);
            m_lastKey = key;
            m_last = found == m_index.end() ? -1 : found->second;
        }
        return m_last;
    }

private:
    std::unordered_map<const std::string*, int> m_index;
    const std::string* m_lastKey = nullptr;
    int m_last = -1;
};

bool Chosen(const std::vector<bool>& chosen, int line)
{
    // A name without a line cannot be chosen away.
    return line < 0 || static_cast<std::size_t>(line) >= chosen.size()
        || chosen[static_cast<std::size_t>(line)];
}
} // namespace

QueryResult RunQuery(
    const PhotoCatalogue& catalogue, const QueryBounds& bounds, const PanelFilters* panel)
{
    const Bound aperture
        = ListBound(catalogue, Aperture, bounds.apertureLower, bounds.apertureUpper);
    const Bound iso = ListBound(catalogue, Iso, bounds.isoLower, bounds.isoUpper);
    const Bound shutter
        = ListBound(catalogue, ShutterSpeed, bounds.shutterLower, bounds.shutterUpper);
    const double focalLower = ParseLeadingNumber(bounds.focalLowerText);
    const double focalUpper = ParseLeadingNumber(bounds.focalUpperText);

    QueryResult result;
    result.photoCount = catalogue.recordCount;
    const PhotoRecord* record = catalogue.head.get();
    if (!panel) {
        for (int i = 0; i < catalogue.recordCount && record; ++i, record = record->next.get()) {
            const bool passes
                = Passes(record->fNumber, aperture.lower, aperture.upper, aperture.bounded)
                && WithinBounds(record->focalLength, focalLower, focalUpper)
                && Passes(record->iso, iso.lower, iso.upper, iso.bounded)
                && Passes(record->exposureTime, shutter.lower, shutter.upper, shutter.bounded);
            if (passes)
                result.rows.push_back(MakeListRow(*record));
        }
        result.countText = CountText(static_cast<int>(result.rows.size()), result.photoCount);
        return result;
    }

    const FocalFill focalSpan = FillFocalTexts(catalogue);
    const bool focalTouched = focalLower > ParseLeadingNumber(focalSpan.lowerText)
        || focalUpper < ParseLeadingNumber(focalSpan.upperText);
    const bool daysBounded = panel->fromDay != 0 || panel->toDay != 0;
    const bool daysTouched = (panel->fromDay != 0 && panel->fromDay > panel->firstDay)
        || (panel->toDay != 0 && panel->toDay < panel->lastDay);
    const int toDay = panel->toDay != 0 ? panel->toDay : std::numeric_limits<int>::max();
    const bool missingPasses = panel->withoutValuePasses;
    // A missing value (0) passes a bound the user left at the full span, or any bound
    // while "without a value passes" is set.
    const auto passes = [missingPasses](double value, const Bound& b) {
        if (!b.bounded)
            return true;
        if (value == 0)
            return missingPasses || !b.touched;
        return (!b.lowerTouched || b.lower <= value) && (!b.upperTouched || value <= b.upper);
    };

    LineIndex cameraLines(panel->cameras);
    LineIndex lensLines(panel->lenses);
    result.counts.cameras.assign(panel->cameras.size(), 0);
    result.counts.lenses.assign(panel->lenses.size(), 0);
    for (int i = 0; i < catalogue.recordCount && record; ++i, record = record->next.get()) {
        const double focal = record->focalLength;
        bool inBounds = passes(record->fNumber, aperture) && passes(ExpandedIso(*record), iso)
            && passes(record->exposureTime, shutter)
            && (focal == 0 ? missingPasses || !focalTouched
                           : focalLower <= focal && focal <= focalUpper);
        if (inBounds && daysBounded) {
            if (record->taken == 0) {
                inBounds = missingPasses || !daysTouched;
            } else {
                const int day = DayOf(record->taken);
                inBounds = panel->fromDay <= day && day <= toDay;
            }
        }
        if (!inBounds || !LacksAsAsked(*record, *panel))
            continue;
        const int cameraLine = cameraLines.Of(record->camera);
        const int lensLine = lensLines.Of(ExpandedLens(*record));
        const bool cameraChosen = Chosen(panel->camerasChosen, cameraLine);
        const bool lensChosen = Chosen(panel->lensesChosen, lensLine);
        // Each line's count: that line alone chosen in its list, the other list as set.
        if (lensChosen && cameraLine >= 0)
            ++result.counts.cameras[static_cast<std::size_t>(cameraLine)];
        if (cameraChosen && lensLine >= 0)
            ++result.counts.lenses[static_cast<std::size_t>(lensLine)];
        if (cameraChosen && lensChosen)
            result.rows.push_back(MakeListRow(*record));
    }
    result.countText = CountText(static_cast<int>(result.rows.size()), result.photoCount);
    return result;
}

std::string CountText(int matches, int photos)
{
    return std::to_string(matches) + "/" + std::to_string(photos);
}
