// SPDX-License-Identifier: MIT
#include "chart/ChartBins.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

std::vector<ShowEntry> ShowEntries(bool expanded)
{
    std::vector<ShowEntry> entries;
    for (const bool expandedOnly : { false, true }) {
        if (expandedOnly && !expanded)
            break;
        for (int k = 0; k < kQuantityCount; ++k) {
            const QuantityInfo& row = QuantityTable()[k];
            if (row.expandedOnly == expandedOnly)
                entries.push_back({ row.showText, row.quantity, ChartNameKind::None });
        }
    }
    if (expanded) {
        entries.push_back({ "Lens", Aperture, ChartNameKind::Lens });
        entries.push_back({ "Camera", Aperture, ChartNameKind::Camera });
    }
    return entries;
}

ChartBins BinValues(Quantity q, const std::vector<double>& values)
{
    std::vector<double> kept;
    kept.reserve(values.size());
    for (double v : values) {
        if (v > 0 && std::isfinite(v))
            kept.push_back(v);
    }
    std::sort(kept.begin(), kept.end());

    ChartBins bins;
    bins.quantity = q;
    for (std::size_t i = 0; i < kept.size();) {
        std::size_t end = i + 1;
        while (end < kept.size() && kept[end] == kept[i])
            ++end;
        bins.values.push_back(kept[i]);
        bins.counts.push_back(static_cast<int>(end - i));
        i = end;
    }
    return bins;
}

ChartBins BinNames(ChartNameKind kind, const std::vector<InternedName>& names)
{
    std::unordered_map<const std::string*, int> counts;
    for (const InternedName& name : names)
        ++counts[&name.str()];
    struct Bin {
        std::string label;
        int count;
    };
    std::vector<Bin> sorted;
    sorted.reserve(counts.size());
    for (const auto& [name, count] : counts) {
        std::string label = *name;
        if (label.empty())
            label = kind == ChartNameKind::Camera ? "(no camera recorded)" : "(no lens recorded)";
        sorted.push_back({ std::move(label), count });
    }
    std::sort(sorted.begin(), sorted.end(), [](const Bin& a, const Bin& b) {
        return a.count != b.count ? a.count > b.count : a.label < b.label;
    });
    ChartBins bins;
    bins.nameKind = kind;
    // Past kNamedBars, the smaller names share one last bar, so that every bar drawn can
    // carry its label.
    const std::size_t named = sorted.size() > kNamedBars ? kNamedBars : sorted.size();
    for (std::size_t i = 0; i < named; ++i) {
        bins.names.push_back(std::move(sorted[i].label));
        bins.counts.push_back(sorted[i].count);
    }
    if (named < sorted.size()) {
        int others = 0;
        for (std::size_t i = named; i < sorted.size(); ++i)
            others += sorted[i].count;
        bins.names.push_back("Other (" + std::to_string(sorted.size() - named) + ")");
        bins.counts.push_back(others);
    }
    return bins;
}
