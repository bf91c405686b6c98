// SPDX-License-Identifier: MIT
#pragma once

// fotolot-bench export LISTFILE OUT
// Scans the photos named in LISTFILE (one path a line; a folder is walked) and exports the
// whole catalogue to OUT through the window's own save code: the header and one row per
// photo in catalogue order, as an unsorted list of every photo shows them. Exit status 0
// on success; 1 with the reason on stderr when the list cannot be read or the save fails.
// argv starts after "export".
int RunExportCommand(int argc, char** argv);
