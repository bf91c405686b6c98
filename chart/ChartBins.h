// SPDX-License-Identifier: MIT
// The chart's histogram over exact distinct values of one quantity.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "catalogue/PhotoCatalogue.h"
#include "catalogue/QuantityText.h"

// What the bins of a chart by name stand for; None: the bins are values of a quantity.
enum class ChartNameKind { None, Lens, Camera };

struct ChartBins {
    Quantity quantity = Aperture; // the charted quantity: selects label format and bar colours
    std::vector<double> values; // distinct values, strictly ascending
    std::vector<int> counts; // counts[i] photos have exactly values[i]; always at least 1
    // A chart by name: names[i] labels bin i (values unused), tallest bin first.
    ChartNameKind nameKind = ChartNameKind::None;
    std::vector<std::string> names;
};

// One entry of the Show list: what the chart draws when it is chosen.
struct ShowEntry {
    const char* text;
    Quantity quantity; // the charted quantity when nameKind is None
    ChartNameKind nameKind;
};

// The Show list: the quantities of the window as it starts, in table order; expanded, the
// expanded-only quantities after them, then Lens and Camera.
std::vector<ShowEntry> ShowEntries(bool expanded);

// Bins the values of quantity q of the listed photos, given in list order. Values that
// are 0 or less (not given by the file), not a number or infinite are left out; the
// others are grouped by exact equality. O(n log n): a sorted copy, counted in runs.
ChartBins BinValues(Quantity q, const std::vector<double>& values);

// Bins the listed photos' lenses or cameras, given in list order: one bin per distinct
// name, the most frequent first, equal counts in byte order of their names; the empty
// name is labelled "(no lens recorded)" or "(no camera recorded)" and ranks as any other.
// Beyond the kNamedBars most frequent names, the rest make one last bar, "Other (N)" for N
// names.
constexpr std::size_t kNamedBars = 20;
ChartBins BinNames(ChartNameKind kind, const std::vector<InternedName>& names);
