// SPDX-License-Identifier: MIT
#pragma once

// fotolot-bench floor [--repeat N] [--rusage] [--same-reads] ARG...
// The physical floor of a scan: per file one open, one read of at most 32,768 bytes,
// one length query and one close, one file after the other, and no parsing. With
// --same-reads (also spelt --second-read) also the further reads the reader makes of a
// container whose EXIF block lies beyond the first bytes, or of a TIFF file whose
// directories do (found as the reader finds them: up to 3 more). Prints the summary
// of the median run on stderr; "accepted" counts the files that gave at least one byte.
int RunFloorCommand(int argc, char** argv);
