// SPDX-License-Identifier: MIT
#include "bench/BenchReport.h"

#include <sys/resource.h>

#include <algorithm>

double MedianSeconds(std::vector<double> seconds)
{
    if (seconds.empty())
        return 0;
    std::sort(seconds.begin(), seconds.end());
    return seconds[(seconds.size() - 1) / 2];
}

void PrintSummary(std::FILE* out, std::size_t scanned, std::size_t accepted, double seconds)
{
    const double rate = seconds > 0 ? static_cast<double>(scanned) / seconds : 0;
    std::fprintf(out, "scanned %zu files, accepted %zu, %.6f s, %.0f files/s\n", scanned, accepted,
        seconds, rate);
}

void PrintPeakRss(std::FILE* out)
{
    rusage usage {};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        std::fprintf(out, "peak RSS: %ld KiB\n", usage.ru_maxrss); // Linux counts in KiB
}
