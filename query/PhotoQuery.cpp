// SPDX-License-Identifier: MIT
#include "query/PhotoQuery.h"

#include <limits>
#include <unordered_map>

#include "catalogue/QuantityText.h"
#include "query/BoundSelectors.h"
#include "query/NumberText.h"
#include "query/PanelFilters.h"

namespace {
bool HasEntry(const PhotoCatalogue& catalogue, Quantity q, int selection)
{
    return selection >= 0 && selection < ValueCount(catalogue, q);
}

// A quantity's bound pair, and whether it was moved from the catalogue's full span.
struct Bound {
    double lower = -std::numeric_limits<double>::infinity();
    double upper = std::numeric_limits<double>::infinity();
    bool bounded = false; // false: no bound at all, every value passes (also NaN)
    bool touched = false;
    // Which ends of a list bound were moved from the catalogue's span.
    bool lowerTouched = false;
    bool upperTouched = false;
};

Bound ListBound(const PhotoCatalogue& catalogue, Quantity q, int lower, int upper)
{
    Bound b;
    if (HasEntry(catalogue, q, lower))
        b.lower = catalogue.values[q][lower];
    if (HasEntry(catalogue, q, upper))
        b.upper = catalogue.values[q][upper];
    b.bounded = HasEntry(catalogue, q, lower) || HasEntry(catalogue, q, upper);
    const int last = ValueCount(catalogue, q) - 1;
    b.lowerTouched = HasEntry(catalogue, q, lower) && lower != 0;
    b.upperTouched = HasEntry(catalogue, q, upper) && upper != last;
    b.touched = b.lowerTouched || b.upperTouched;
    return b;
}

Bound TextBound(const PhotoCatalogue& catalogue, Quantity q, const QuantityBound& bound)
{
    Bound b;
    b.lower = ParseLeadingNumber(bound.lowerText);
    b.upper = ParseLeadingNumber(bound.upperText);
    b.bounded = true;
    const WholeNumberFill span = FillWholeNumberTexts(catalogue, q);
    b.touched = b.lower > ParseLeadingNumber(span.lowerText)
        || b.upper < ParseLeadingNumber(span.upperText);
    return b;
}

// A bound that restricts, with how its quantity is read.
struct ActiveBound {
    double (*value)(const PhotoFields& photo);
    bool (*missing)(double value);
    Bound bound;
};

std::vector<ActiveBound> ActiveBounds(
    const PhotoCatalogue& catalogue, const QueryBounds& bounds, bool expanded)
{
    std::vector<ActiveBound> active;
    for (int k = 0; k < kQuantityCount; ++k) {
        const QuantityInfo& row = QuantityTable()[k];
        if (row.expandedOnly && !expanded)
            continue;
        const Quantity q = static_cast<Quantity>(k);
        const QuantityBound& set = bounds[static_cast<std::size_t>(k)];
        Bound b;
        if (row.selector == SelectorKind::ValueLists)
            b = ListBound(catalogue, q, set.lowerIndex, set.upperIndex);
        else if (row.selector == SelectorKind::WholeNumberTexts)
            b = TextBound(catalogue, q, set);
        // An end left at the catalogue's span bounds nothing where the expanded window reads
        // another value: that value may lie beyond the span of the value tables.
        if (expanded && row.expandedValue && row.selector == SelectorKind::ValueLists) {
            if (!b.lowerTouched)
                b.lower = -std::numeric_limits<double>::infinity();
            if (!b.upperTouched)
                b.upper = std::numeric_limits<double>::infinity();
        }
        if (b.bounded)
            active.push_back(
                { expanded && row.expandedValue ? row.expandedValue : row.value, row.missing, b });
    }
    return active;
}

// Whether a photo passes every bound. A missing value passes while missingPasses is set,
// else only a bound the user left at the catalogue's full span.
bool InBounds(const PhotoFields& photo, const std::vector<ActiveBound>& active, bool missingPasses)
{
    for (const ActiveBound& a : active) {
        const double value = a.value(photo);
        if (a.missing(value)) {
            if (!missingPasses && a.bound.touched)
                return false;
        } else if (!(a.bound.lower <= value && value <= a.bound.upper)) {
            return false;
        }
    }
    return true;
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
    const std::vector<ActiveBound> active = ActiveBounds(catalogue, bounds, panel != nullptr);
    QueryResult result;
    result.photoCount = catalogue.recordCount;
    if (!panel) {
        for (const PhotoRecord& record : ShownPhotos(catalogue))
            if (InBounds(record, active, true))
                result.rows.emplace_back(record);
        result.countText = CountText(static_cast<int>(result.rows.size()), result.photoCount);
        return result;
    }

    const bool daysBounded = panel->fromDay != 0 || panel->toDay != 0;
    const bool daysTouched = (panel->fromDay != 0 && panel->fromDay > panel->firstDay)
        || (panel->toDay != 0 && panel->toDay < panel->lastDay);
    const int toDay = panel->toDay != 0 ? panel->toDay : std::numeric_limits<int>::max();
    const bool missingPasses = panel->withoutValuePasses;
    LineIndex cameraLines(panel->cameras);
    LineIndex lensLines(panel->lenses);
    result.counts.cameras.assign(panel->cameras.size(), 0);
    result.counts.lenses.assign(panel->lenses.size(), 0);
    for (const PhotoRecord& photo : ShownPhotos(catalogue)) {
        const PhotoRecord* record = &photo;
        bool inBounds = InBounds(*record, active, missingPasses);
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
            result.rows.emplace_back(*record);
    }
    result.countText = CountText(static_cast<int>(result.rows.size()), result.photoCount);
    return result;
}

std::string CountText(int matches, int photos)
{
    return std::to_string(matches) + "/" + std::to_string(photos);
}
