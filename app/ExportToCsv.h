// SPDX-License-Identifier: MIT
// The results list's "Export to CSV" command: the save dialog and the error box around
// the export that query/ResultsExport writes.
#pragma once

class QWidget;
class ResultsModel;

// The "Export to CSV" command: asks for a file name (initially "ExifList", filter
// "CSV files (*.csv)", confirming an overwrite) and saves the rows in their current
// order, with the columns the list shows, on a worker thread behind a progress box with
// Cancel when it takes a while (controls/SaveProgress.h). A dismissed dialog or a
// cancelled save does nothing more; a failed save shows "Error saving file" under the name
// "Fotolot", the reason on a second line. Returns true when a file was written.
bool ExportResults(QWidget* parent, const ResultsModel& model);
