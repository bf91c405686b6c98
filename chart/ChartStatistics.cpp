// SPDX-License-Identifier: MIT
#include "chart/ChartStatistics.h"

#include <QIODevice>

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "catalogue/QuantityText.h"
#include "catalogue/TabField.h"
#include "controls/SaveToPath.h"

namespace {

struct Series {
    std::vector<double> values;
    std::vector<std::string> labels;
    std::vector<double> edges; // geometric means of neighbours: edges[i] parts entry i, i + 1
};

Series MakeSeries(std::vector<double> values, std::vector<std::string> labels)
{
    Series series { std::move(values), std::move(labels), {} };
    for (std::size_t i = 1; i < series.values.size(); ++i)
        series.edges.push_back(std::sqrt(series.values[i - 1] * series.values[i]));
    return series;
}

Series ApertureSeries()
{
    const std::vector<double> values = { 1.0, 1.1, 1.2, 1.4, 1.6, 1.8, 2.0, 2.2, 2.5, 2.8, 3.2, 3.5,
        4.0, 4.5, 5.0, 5.6, 6.3, 7.1, 8, 9, 10, 11, 13, 14, 16, 18, 20, 22, 25, 29, 32 };
    std::vector<std::string> labels;
    for (double v : values)
        labels.push_back(FormatQuantity(Aperture, v));
    return MakeSeries(values, labels);
}

Series ShutterSeries()
{
    // Below a quarter second the marked fractions, from there the marked seconds.
    const int fractions[]
        = { 8000, 6400, 5000, 4000, 3200, 2500, 2000, 1600, 1250, 1000, 800, 640, 500, 400, 320,
              250, 200, 160, 125, 100, 80, 60, 50, 40, 30, 25, 20, 15, 13, 10, 8, 6, 5, 4 };
    const char* const seconds[] = { "0.3", "0.4", "0.5", "0.6", "0.8", "1", "1.3", "1.6", "2",
        "2.5", "3.2", "4", "5", "6", "8", "10", "13", "15", "20", "25", "30" };
    std::vector<double> values;
    std::vector<std::string> labels;
    for (int n : fractions) {
        values.push_back(1.0 / n);
        labels.push_back("1/" + std::to_string(n));
    }
    for (const char* s : seconds) {
        values.push_back(std::stod(s));
        labels.push_back(s);
    }
    return MakeSeries(values, labels);
}

Series IsoSeries()
{
    const int speeds[] = { 50, 64, 80, 100, 125, 160, 200, 250, 320, 400, 500, 640, 800, 1000, 1250,
        1600, 2000, 2500, 3200, 4000, 5000, 6400, 8000, 10000, 12800, 16000, 20000, 25600, 32000,
        40000, 51200, 64000, 80000, 102400 };
    std::vector<double> values;
    std::vector<std::string> labels;
    for (int n : speeds) {
        values.push_back(n);
        labels.push_back(std::to_string(n));
    }
    return MakeSeries(values, labels);
}

const Series& SeriesOf(StopSeries series)
{
    static const Series kSeries[] = { ApertureSeries(), ShutterSeries(), IsoSeries() };
    return kSeries[static_cast<int>(series)];
}

// Upper edges of the standard focal ranges in whole millimetres; the last range is open.
constexpr int kRangeHigh[kFocalRangeCount] = { 14, 20, 28, 35, 50, 70, 105, 135, 200, 300, 0 };
const char* const kRangeLabels[kFocalRangeCount] = { "\u2264 14", "15-20", "21-28", "29-35",
    "36-50", "51-70", "71-105", "106-135", "136-200", "201-300", "> 300" };

bool Usable(double v)
{
    return v > 0 && std::isfinite(v);
}

bool SeriesOfQuantity(Quantity q, StopSeries& series)
{
    switch (q) {
    case Aperture:
        series = StopSeries::Aperture;
        return true;
    case ShutterSpeed:
        series = StopSeries::Shutter;
        return true;
    case Iso:
        series = StopSeries::Iso;
        return true;
    default:
        return false;
    }
}

long long Total(const ChartBins& bins)
{
    long long total = 0;
    for (int c : bins.counts)
        total += c;
    return total;
}

int BinCount(const ChartBins& bins)
{
    const std::size_t labelled
        = bins.nameKind != ChartNameKind::None ? bins.names.size() : bins.values.size();
    return static_cast<int>(std::min(labelled, bins.counts.size()));
}

} // namespace

const std::vector<double>& ThirdStopValues(StopSeries series)
{
    return SeriesOf(series).values;
}

const std::vector<std::string>& ThirdStopLabels(StopSeries series)
{
    return SeriesOf(series).labels;
}

int ThirdStopIndex(StopSeries series, double value)
{
    if (!Usable(value))
        return -1;
    const std::vector<double>& edges = SeriesOf(series).edges;
    return static_cast<int>(std::upper_bound(edges.begin(), edges.end(), value) - edges.begin());
}

int FocalRangeIndex(double millimetres)
{
    if (!Usable(millimetres))
        return -1;
    const double whole = std::round(millimetres);
    for (int i = 0; i + 1 < kFocalRangeCount; ++i) {
        if (whole <= kRangeHigh[i])
            return i;
    }
    return kFocalRangeCount - 1;
}

const char* FocalRangeLabel(int range)
{
    return range >= 0 && range < kFocalRangeCount ? kRangeLabels[range] : "";
}

int FocalRangeLow(int range)
{
    return range > 0 && range < kFocalRangeCount ? kRangeHigh[range - 1] + 1 : 0;
}

int FocalRangeHigh(int range)
{
    return range >= 0 && range < kFocalRangeCount ? kRangeHigh[range] : 0;
}

bool BinningOffered(ChartBinning binning, Quantity q, bool focal)
{
    StopSeries series;
    switch (binning) {
    case ChartBinning::EachValue:
        return true;
    case ChartBinning::ThirdStop:
        return SeriesOfQuantity(q, series);
    case ChartBinning::StandardRanges:
        return focal;
    }
    return false;
}

ChartBins BinValuesAs(
    Quantity q, bool focal, ChartBinning binning, const std::vector<double>& values)
{
    StopSeries series = StopSeries::Aperture;
    const bool stops = binning == ChartBinning::ThirdStop && SeriesOfQuantity(q, series);
    const bool ranges = binning == ChartBinning::StandardRanges && focal;
    if (!stops && !ranges)
        return BinValues(q, values);

    const int entries = stops ? static_cast<int>(ThirdStopValues(series).size()) : kFocalRangeCount;
    std::vector<int> counts(static_cast<std::size_t>(entries), 0);
    for (double v : values) {
        const int at = stops ? ThirdStopIndex(series, v) : FocalRangeIndex(v);
        if (at >= 0)
            ++counts[static_cast<std::size_t>(at)];
    }
    ChartBins bins;
    bins.quantity = q;
    bins.binning = stops ? ChartBinning::ThirdStop : ChartBinning::StandardRanges;
    bins.series = series;
    int first = 0;
    while (first < entries && counts[static_cast<std::size_t>(first)] == 0)
        ++first;
    int last = entries - 1;
    while (last >= first && counts[static_cast<std::size_t>(last)] == 0)
        --last;
    for (int i = first; i <= last; ++i) {
        const auto at = static_cast<std::size_t>(i);
        bins.entries.push_back(i);
        bins.counts.push_back(counts[at]);
        if (stops) {
            bins.values.push_back(ThirdStopValues(series)[at]);
            bins.labels.push_back(ThirdStopLabels(series)[at]);
        } else {
            bins.values.push_back(i);
            bins.labels.push_back(kRangeLabels[i]);
        }
    }
    return bins;
}

std::vector<int> PerCentTenths(const std::vector<int>& counts)
{
    long long total = 0;
    for (int c : counts)
        total += c;
    std::vector<int> tenths(counts.size(), 0);
    if (total <= 0)
        return tenths;
    // Floors first, then the spare tenths to the largest remainders.
    std::vector<std::pair<long long, std::size_t>> remainders;
    long long given = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const long long scaled = 1000LL * counts[i];
        tenths[i] = static_cast<int>(scaled / total);
        given += tenths[i];
        remainders.push_back({ scaled % total, i });
    }
    std::stable_sort(remainders.begin(), remainders.end(),
        [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t k = 0; given < 1000 && k < remainders.size(); ++k, ++given)
        ++tenths[remainders[k].second];
    return tenths;
}

std::string TenthsText(int tenths)
{
    return std::to_string(tenths / 10) + '.' + std::to_string(tenths % 10);
}

std::string GroupedCount(long long count)
{
    std::string digits = std::to_string(count < 0 ? -count : count);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    return count < 0 ? '-' + digits : digits;
}

std::string BinLabel(const ChartBins& bins, int i)
{
    const auto at = static_cast<std::size_t>(i);
    if (bins.nameKind != ChartNameKind::None)
        return at < bins.names.size() ? bins.names[at] : std::string();
    if (at < bins.labels.size())
        return bins.labels[at];
    return at < bins.values.size() ? FormatQuantity(bins.quantity, bins.values[at]) : std::string();
}

std::string BinRangeText(const ChartBins& bins, int first, int last)
{
    if (first > last)
        std::swap(first, last);
    if (bins.nameKind != ChartNameKind::None) {
        if (first == last)
            return BinLabel(bins, first);
        const char* noun = bins.nameKind == ChartNameKind::Lens ? " lenses" : " cameras";
        return std::to_string(last - first + 1) + noun;
    }
    std::string text;
    if (bins.binning == ChartBinning::StandardRanges) {
        const int low = bins.entries[static_cast<std::size_t>(first)];
        const int high = bins.entries[static_cast<std::size_t>(last)];
        if (low == high)
            text = kRangeLabels[low];
        else if (low == 0 && high == kFocalRangeCount - 1)
            text = std::string(kRangeLabels[low]) + " to " + kRangeLabels[high];
        else if (low == 0)
            text = "\u2264 " + std::to_string(FocalRangeHigh(high));
        else if (high == kFocalRangeCount - 1)
            text = "\u2265 " + std::to_string(FocalRangeLow(low));
        else
            text = std::to_string(FocalRangeLow(low)) + '-' + std::to_string(FocalRangeHigh(high));
        return text + " mm";
    }
    text = BinLabel(bins, first);
    if (last != first)
        text += '-' + BinLabel(bins, last);
    switch (bins.quantity) {
    case Iso:
        return "ISO " + text;
    case ShutterSpeed:
        return text + " s";
    case FocalLength:
        return text + " mm";
    case FileSize:
        return text + " MB";
    default:
        return text;
    }
}

std::string SelectionText(const ChartBins& bins, int first, int last)
{
    if (first > last)
        std::swap(first, last);
    const int count = BinCount(bins);
    if (first < 0 || last >= count)
        return std::string();
    long long selected = 0;
    for (int i = first; i <= last; ++i)
        selected += bins.counts[static_cast<std::size_t>(i)];
    const long long total = Total(bins);
    const long long perCent = total > 0 ? (200 * selected + total) / (2 * total) : 0;
    return BinRangeText(bins, first, last) + ": " + GroupedCount(selected)
        + (selected == 1 ? " photo, " : " photos, ") + std::to_string(perCent)
        + " % of the matches";
}

void CentralRange(const ChartBins& bins, int& first, int& last)
{
    first = -1;
    last = -1;
    const long long total = Total(bins);
    if (bins.nameKind != ChartNameKind::None || total <= 0)
        return;
    const long long lowRank = total / 10 + 1;
    const long long highRank = (9 * total + 9) / 10;
    long long seen = 0;
    const int count = BinCount(bins);
    for (int i = 0; i < count; ++i) {
        seen += bins.counts[static_cast<std::size_t>(i)];
        if (first < 0 && seen >= lowRank)
            first = i;
        if (seen >= highRank) {
            last = i;
            return;
        }
    }
}

std::string CentralRangeText(const ChartBins& bins)
{
    int first = 0;
    int last = 0;
    CentralRange(bins, first, last);
    if (first < 0)
        return std::string();
    long long held = 0;
    for (int i = first; i <= last; ++i)
        held += bins.counts[static_cast<std::size_t>(i)];
    const long long total = Total(bins);
    return "80 % of the matches around the median: " + BinRangeText(bins, first, last) + " ("
        + GroupedCount(held) + (held == 1 ? " photo, " : " photos, ")
        + std::to_string((200 * held + total) / (2 * total)) + " %)";
}

std::vector<LensChart> LensCharts(Quantity q, bool focal, ChartBinning binning,
    const std::vector<InternedName>& lenses, const std::vector<double>& values)
{
    struct Lens {
        InternedName name;
        std::vector<double> values;
    };
    std::unordered_map<const std::string*, std::size_t> index;
    std::vector<Lens> found;
    const std::size_t n = std::min(lenses.size(), values.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (!Usable(values[i]))
            continue;
        const auto [at, added] = index.emplace(&lenses[i].str(), found.size());
        if (added)
            found.push_back({ lenses[i], {} });
        found[at->second].values.push_back(values[i]);
    }
    std::sort(found.begin(), found.end(), [](const Lens& a, const Lens& b) {
        return a.values.size() != b.values.size() ? a.values.size() > b.values.size()
                                                  : a.name.str() < b.name.str();
    });
    constexpr std::size_t kShown = 10;
    std::vector<LensChart> charts;
    for (std::size_t i = 0; i < found.size() && i < kShown; ++i) {
        LensChart chart;
        chart.title = found[i].name.str().empty() ? "(no lens recorded)" : found[i].name.str();
        chart.lenses.push_back(found[i].name);
        chart.count = static_cast<int>(found[i].values.size());
        chart.bins = BinValuesAs(q, focal, binning, found[i].values);
        charts.push_back(std::move(chart));
    }
    if (found.size() > kShown) {
        LensChart other;
        other.title = "Other lenses";
        std::vector<double> rest;
        for (std::size_t i = kShown; i < found.size(); ++i) {
            other.lenses.push_back(found[i].name);
            rest.insert(rest.end(), found[i].values.begin(), found[i].values.end());
        }
        other.count = static_cast<int>(rest.size());
        other.bins = BinValuesAs(q, focal, binning, rest);
        charts.push_back(std::move(other));
    }
    return charts;
}

std::string StatisticsText(const ChartBins& bins)
{
    std::string text = "Bin\tCount\tPer cent\tCumulative per cent\n";
    const int count = BinCount(bins);
    const std::vector<int> tenths
        = PerCentTenths(std::vector<int>(bins.counts.begin(), bins.counts.begin() + count));
    int cumulative = 0;
    for (int i = 0; i < count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        cumulative += tenths[at];
        text += TabField(BinLabel(bins, i)) + '\t' + std::to_string(bins.counts[at]) + '\t'
            + TenthsText(tenths[at]) + '\t' + TenthsText(cumulative) + '\n';
    }
    return text;
}

bool WriteStatistics(QIODevice& device, const ChartBins& bins)
{
    const std::string text = StatisticsText(bins);
    return WriteWhole(device, text.data(), static_cast<qint64>(text.size()));
}
