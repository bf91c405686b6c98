// SPDX-License-Identifier: MIT
// The results list as tab-separated text: a header line, then one line per row in the
// list's current order, each cell followed by a tab.
#pragma once

#include <string>
#include <vector>

#include "query/ResultColumns.h"

class QIODevice;
class QString;

// The export headings of the first columns columns of the table, each followed by a tab
// but the last, then "\n". For the list's own six: "Filename\tCamera\tAperture\t
// Focal Length\tISO\tShutter Speed\n".
std::string ExportHeaderLine(int columns = kTemplateColumnCount);

// The first columns cell texts of row as the list shows them, each followed by a tab,
// then "\n". Every cell is written whole; a tab, carriage return or line feed inside a
// cell is written as a space so that it cannot break the line or column structure.
std::string ExportRowLine(const ListRow& row, int columns = kTemplateColumnCount);

// Writes the header and rows, the first columns columns, to device, which must be open
// for writing. Returns false when a write fails; errorString then holds the device's
// reason.
bool WriteResults(QIODevice& device, const std::vector<ListRow>& rows, QString* errorString,
    int columns = kTemplateColumnCount);

// Writes the export to path as SaveToPath writes a file (controls/SaveToPath.h): whole or
// not at all, a device or FIFO in place, on the calling thread. Returns false with
// errorString set to the reason when anything fails.
bool SaveResults(const QString& path, const std::vector<ListRow>& rows, QString* errorString,
    int columns = kTemplateColumnCount);
