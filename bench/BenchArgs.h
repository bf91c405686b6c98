// SPDX-License-Identifier: MIT
// Command-line arguments shared by the reading subcommands (scan, floor).
#pragma once

#include <string>
#include <vector>

struct BenchRunOptions {
    int repeat = 1; // timed runs; the summary reports the median
    bool rusage = false; // print the peak resident set size at the end
    bool allFields = false; // scan: print every field a record holds, and the skip counts
    bool expanded = false; // scan: the photos and counts of the expanded window
    std::vector<std::string> paths; // in reading order, @LIST files expanded
};

// Parses "[--repeat N] [--rusage] [--all-fields] [--expanded] ARG..." where ARG is a path or @LIST,
// a file of paths one a line (empty lines skipped, a trailing '\r' dropped). Returns false with a
// message in error when an option is malformed or a list cannot be read.
bool ParseRunOptions(int argc, char** argv, BenchRunOptions& options, std::string& error);

// The same for subcommand command: prints "fotolot-bench COMMAND: ERROR" on stderr when the
// arguments are malformed.
bool ParseRunOptions(const char* command, int argc, char** argv, BenchRunOptions& options);

// Appends the paths of the list file, one a line.
bool AppendListFile(
    const std::string& listPath, std::vector<std::string>& paths, std::string& error);
