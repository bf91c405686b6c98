// SPDX-License-Identifier: MIT
// The results list as tab-separated text: a header line, then one line per row in the
// list's current order, each cell followed by a tab.
#pragma once

#include <string>
#include <vector>

#include "query/ListRow.h"

class QIODevice;
class QString;
class QWidget;
class ResultsModel;

// "Filename\tCamera\tAperture\tFocal Length\tISO\tShutter Speed\n"
std::string ExportHeaderLine();

// The six cell texts of row as the list shows them, each followed by a tab, then "\n".
// Every cell is written whole; a tab, carriage return or line feed inside a cell is
// written as a space so that it cannot break the line or column structure.
std::string ExportRowLine(const ListRow& row);

// Writes the header and rows to device, which must be open for writing. Returns false
// when a write fails; errorString then holds the device's reason.
bool WriteResults(QIODevice& device, const std::vector<ListRow>& rows, QString* errorString);

// Writes the export to path as SaveToPath writes a file (controls/SaveToPath.h): whole or
// not at all, a device or FIFO in place, on the calling thread. Returns false with
// errorString set to the reason when anything fails.
bool SaveResults(const QString& path, const std::vector<ListRow>& rows, QString* errorString);

// The "Export to CSV" command: asks for a file name (initially "ExifList", filter
// "CSV files (*.csv)", confirming an overwrite) and saves the rows in their current
// order, on a worker thread behind a progress box with Cancel when it takes a while
// (controls/SaveProgress.h). A dismissed dialog or a cancelled save does nothing more; a
// failed save shows "Error saving file" under the name "Fotolot", the reason on a second
// line. Returns true when a file was written.
bool ExportResults(QWidget* parent, const ResultsModel& model);
