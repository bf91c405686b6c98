// SPDX-License-Identifier: MIT
#pragma once

// fotolot-bench floor [--repeat N] [--rusage] ARG...
// The physical floor of a scan: per file one open, one read of at most 32,768 bytes,
// one length query and one close, and no parsing. Prints the summary of the median run
// on stderr; "accepted" counts the files that gave at least one byte.
int RunFloorCommand(int argc, char** argv);
