// SPDX-License-Identifier: MIT
// The chart's context menu commands "Export statistics..." and "Save chart as PNG/SVG...":
// the save dialog and the error box around the bytes chart/ writes, saved as the list's
// export is (controls/SaveProgress.h).
#pragma once

class CChartStatic;
class QWidget;

// Asks for a file name (initially "ChartStatistics", "Text files (*.txt)") and saves the
// chart's bins as tab-separated lines. Returns true when a file was written.
bool ExportChartStatistics(QWidget* parent, const CChartStatic& chart);

// Asks for a file name (initially "Chart", PNG or SVG) and saves a picture of the chart at
// its size on the screen: SVG when the name ends in ".svg", else PNG. Returns true when a
// file was written.
bool SaveChartPicture(QWidget* parent, const CChartStatic& chart);
