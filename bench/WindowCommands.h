// SPDX-License-Identifier: MIT
// Subcommands that time the real main window on the current display.
#pragma once

// window-scan ARG...: one whole scan run through the main window and its progress
// dialog, the files handed over through the desktop seam. Prints the summary line of
// scan.
int RunWindowScanCommand(int argc, char** argv);

// window-query COUNT: a catalogue of COUNT generated photos, the selectors filled as
// after a scan, then one query with the full-range bounds ("query of COUNT photos: N
// listed in S s"), one header click ("sort: S s") and one change of Show ("show: S s"),
// each timed until the window has repainted.
int RunWindowQueryCommand(int argc, char** argv);

// Times RunQuery with the expanded window's filters and faceted counts over COUNT
// generated photos, without a window.
int RunQueryCommand(int argc, char** argv);

// Times building every chart setting (each quantity and the 35 mm focal length, each
// binning it offers, count or per cent axis with the cumulative line, one chart or one per
// lens: the values gathered from the rows, binned, laid out and the 80 % range found) over
// the rows of a query listing COUNT generated photos.
int RunStatsCommand(int argc, char** argv);
