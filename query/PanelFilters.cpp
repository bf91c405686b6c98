// SPDX-License-Identifier: MIT
#include "query/PanelFilters.h"

#include <algorithm>
#include <unordered_map>

#include "catalogue/QuantityText.h"

namespace {
// The lines in byte order of their names, the empty name last.
std::vector<NameLine> SortedLines(const std::unordered_map<const std::string*, int>& counts)
{
    std::vector<NameLine> lines;
    lines.reserve(counts.size());
    for (const auto& [name, count] : counts)
        lines.push_back({ InternedName(*name), count });
    std::sort(lines.begin(), lines.end(), [](const NameLine& a, const NameLine& b) {
        if (a.name.empty() != b.name.empty())
            return b.name.empty();
        return a.name.str() < b.name.str();
    });
    return lines;
}
} // namespace

PanelFill FillPanel(const PhotoCatalogue& catalogue)
{
    std::unordered_map<const std::string*, int> cameras;
    std::unordered_map<const std::string*, int> lenses;
    PanelFill fill;
    for (const PhotoRecord& record : ShownPhotos(catalogue)) {
        ++cameras[&record.camera.str()];
        ++lenses[&ExpandedLens(record).str()];
        if (record.taken != 0) {
            const int day = DayOf(record.taken);
            fill.firstDay = fill.firstDay == 0 ? day : std::min(fill.firstDay, day);
            fill.lastDay = std::max(fill.lastDay, day);
        }
    }
    fill.cameras = SortedLines(cameras);
    fill.lenses = SortedLines(lenses);
    return fill;
}

bool LacksAsAsked(const PhotoRecord& record, const PanelFilters& filters)
{
    if (filters.onlyWithoutLens && !record.lens.empty())
        return false;
    for (int k = 0; k < kQuantityCount; ++k)
        if (filters.onlyWithout[k]
            && !QuantityTable()[k].missing(QuantityValue(record, static_cast<Quantity>(k), true)))
            return false;
    return true;
}

std::string LensLineText(const InternedName& lens)
{
    return lens.empty() ? std::string("(no lens recorded)") : lens.str();
}

std::string CameraLineText(const InternedName& camera)
{
    return camera.empty() ? std::string("(no camera recorded)") : camera.str();
}
