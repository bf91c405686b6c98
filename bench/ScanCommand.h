// SPDX-License-Identifier: MIT
#pragma once

// fotolot-bench scan [--repeat N] [--rusage] [--all-fields] [--expanded] ARG...
// Reads every file exactly as a scan run does and prints one line per accepted photo on
// stdout, then the summary of the median run on stderr: the photos and counts of the
// window as it starts, or with --expanded of the expanded window. argv starts after "scan".
int RunScanCommand(int argc, char** argv);
