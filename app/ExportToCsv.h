// SPDX-License-Identifier: MIT
// The results list's "Export to CSV" command: the save dialog and the error box around
// the export that query/ResultsExport writes.
#pragma once

class QWidget;
class ResultsModel;

// The "Export to CSV" command: asks for a file name (initially "ExifList", filter
// "CSV files (*.csv)", confirming an overwrite) and saves the rows in their current
// order, with the columns the list shows. A dismissed dialog does nothing; a failed save
// shows "Error saving file"
// under the name "Fotolot", the reason on a second line. Returns true when a file was
// written.
bool ExportResults(QWidget* parent, const ResultsModel& model);
