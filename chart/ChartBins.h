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

// How values become bins: one per distinct value (the only one of the window as it
// starts), the nearest value of the 1/3-stop series (apertures, shutter speeds, ISO),
// or the standard focal ranges (focal lengths).
enum class ChartBinning { EachValue, ThirdStop, StandardRanges };

// The 1/3-stop series of apertures (f/1.0 to f/32), exposure times (1/8000 s to 30 s) and
// ISO speeds (ISO 50 to 102400).
enum class StopSeries { Aperture, Shutter, Iso };

struct ChartBins {
    Quantity quantity = Aperture; // the charted quantity: selects label format and bar colours
    std::vector<double> values; // distinct values, strictly ascending
    std::vector<int> counts; // counts[i] photos have exactly values[i]; always at least 1
    // A chart by name: names[i] labels bin i (values unused), tallest bin first.
    ChartNameKind nameKind = ChartNameKind::None;
    std::vector<std::string> names;
    // Snapped or ranged bins: the binning, each bin's entry of its series or range table
    // and its label (the values then hold the entries' nominal values).
    ChartBinning binning = ChartBinning::EachValue;
    StopSeries series = StopSeries::Aperture;
    std::vector<int> entries;
    std::vector<std::string> labels;
    // The count axis labelled in per cent of all the bins' photos; a line of the cumulative
    // per cent over the bars (100 % at the plot's top).
    bool perCentAxis = false;
    bool cumulativeLine = false;
};

// One entry of the Show list: what the chart draws when it is chosen.
struct ShowEntry {
    const char* text;
    Quantity quantity; // the charted quantity when nameKind is None
    ChartNameKind nameKind;
    bool byLens; // one small chart of the quantity per lens
};

// The Show list: the quantities of the window as it starts, in table order; expanded, the
// expanded-only quantities after them, then Lens, Camera and Focal length by lens.
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
