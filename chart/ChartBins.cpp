// SPDX-License-Identifier: MIT
#include "chart/ChartBins.h"

#include <algorithm>
#include <cmath>

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
