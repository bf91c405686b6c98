// SPDX-License-Identifier: MIT
// The closing lines that the reading subcommands print on stderr.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

// The median of the run times in seconds; for an even count the faster of the two
// middle runs, so that the figure is always one that a run achieved.
double MedianSeconds(std::vector<double> seconds);

// "scanned F files, accepted A, S s, R files/s"
void PrintSummary(std::FILE* out, std::size_t scanned, std::size_t accepted, double seconds);

// "peak RSS: N KiB", the process's peak resident set size so far.
void PrintPeakRss(std::FILE* out);
