// SPDX-License-Identifier: MIT
// What a photographer reads off a distribution: values snapped to the standard 1/3-stop
// series or grouped in the standard focal ranges, per cents of the matches, the coverage
// of a run of bins and the range around the median that holds 80 % of the matches, one
// chart per lens, and the bins as tab-separated lines. Plain functions over ChartBins.
#pragma once

#include <string>
#include <vector>

#include "chart/ChartBins.h"

class QIODevice;

// The series' entries, ascending, and their labels ("F1.0", "1/8000", "0.3", "50").
const std::vector<double>& ThirdStopValues(StopSeries series);
const std::vector<std::string>& ThirdStopLabels(StopSeries series);

// The entry nearest value on a logarithmic scale (a value exactly between two takes the
// upper one); values beyond the series take its first or last entry. -1 for a value that
// is 0 or less or not finite.
int ThirdStopIndex(StopSeries series, double value);

// Standard focal ranges in millimetres, by upper edge: <= 14, 15-20, 21-28, 29-35, 36-50,
// 51-70, 71-105, 106-135, 136-200, 201-300, > 300. The value is rounded to whole
// millimetres first. -1 for a value that is 0 or less or not finite.
constexpr int kFocalRangeCount = 11;
int FocalRangeIndex(double millimetres);
// "≤ 14", "15-20", ..., "> 300"; lowest and highest millimetres of range i (0 for none).
const char* FocalRangeLabel(int range);
int FocalRangeLow(int range);
int FocalRangeHigh(int range);

// Which binnings quantity q offers: each value always, 1/3 stops for aperture, shutter
// and ISO, standard ranges for focal lengths (focal is true for a focal-length quantity).
bool BinningOffered(ChartBinning binning, Quantity q, bool focal);

// Bins values (0 or less, not a number or infinite left out) as binning says. Snapped and
// ranged bins carry their labels and run from the lowest used entry to the highest,
// empty entries between them included.
ChartBins BinValuesAs(
    Quantity q, bool focal, ChartBinning binning, const std::vector<double>& values);

// Per cents of the total of counts in tenths, each rounded so that they add up to exactly
// 1000 (largest remainders take the spare tenths; equal remainders the earlier bin).
// All zeros when the total is 0.
std::vector<int> PerCentTenths(const std::vector<int>& counts);

// tenths as a per cent with one decimal: 625 -> "62.5".
std::string TenthsText(int tenths);

// count with a comma between each group of three digits: 1234 -> "1,234".
std::string GroupedCount(long long count);

// The text of bins first to last as a range: "24-70 mm", "F2.8-F5.6", "1/250-1/60 s",
// "ISO 100-800"; one bin alone without the dash. Ranged bins join their outer edges.
std::string BinRangeText(const ChartBins& bins, int first, int last);

// The bins the user selected: "24-70 mm: 1,234 photos, 62 % of the matches" (whole
// per cents). first and last in either order; outside the bins gives an empty text.
std::string SelectionText(const ChartBins& bins, int first, int last);

// The central bins that hold 80 % of the binned photos: from the bin of the photo ranked
// total / 10 + 1 to the bin of the photo ranked ceil(total * 9 / 10), counted from the
// lowest value. first = last = -1 when there are none.
void CentralRange(const ChartBins& bins, int& first, int& last);

// "80 % of the matches around the median: 24-70 mm (1,234 photos, 83 %)"; empty without
// photos.
std::string CentralRangeText(const ChartBins& bins);

// One chart of the per-lens small multiples.
struct LensChart {
    std::string title; // the lens, "(no lens recorded)" or "Other lenses"
    std::vector<InternedName> lenses; // the lenses it counts
    int count = 0; // photos with a value
    ChartBins bins;
};

// The lenses of the listed photos with their values, in list order: one chart for each of
// the ten lenses with most values (equal counts in byte order of their names), then one
// "Other lenses" chart for the rest when there is a rest. Photos without a value count
// nowhere.
std::vector<LensChart> LensCharts(Quantity q, bool focal, ChartBinning binning,
    const std::vector<InternedName>& lenses, const std::vector<double>& values);

// The statistics export: a heading line "Bin\tCount\tPer cent\tCumulative per cent", then
// per bin its label, count, per cent and cumulative per cent (one decimal), each line
// ending in "\n" as the list's export does.
std::string StatisticsText(const ChartBins& bins);
// The same bytes to device; false with the device's reason when a write fails.
bool WriteStatistics(QIODevice& device, const ChartBins& bins);

// The label of bin i as the chart writes it.
std::string BinLabel(const ChartBins& bins, int i);
