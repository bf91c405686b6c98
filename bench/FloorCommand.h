// SPDX-License-Identifier: MIT
#pragma once

// fotolot-bench floor [--repeat N] [--rusage] [--second-read] ARG...
// The physical floor of a scan: per file one open, one read of at most 32,768 bytes,
// one length query and one close, one file after the other, and no parsing. With
// --second-read also the second read the reader makes of a HEIF, CR3, RAF or MRW file
// whose EXIF block lies beyond the first bytes (found as the reader finds it). Prints the summary
// of the median run on stderr; "accepted" counts the files that gave at least one byte.
int RunFloorCommand(int argc, char** argv);
