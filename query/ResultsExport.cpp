// SPDX-License-Identifier: MIT
#include "query/ResultsExport.h"

#include <QIODevice>
#include <QString>

#include "catalogue/TabField.h"
#include "controls/SaveToPath.h"

std::string ExportHeaderLine(int columns)
{
    // The header has no tab after its last heading, the rows have one after every cell.
    std::string line;
    for (int column = 0; column < columns && column < kResultColumnCount; ++column) {
        if (column > 0)
            line += '\t';
        line += ResultColumnTable()[column].exportHeading;
    }
    line += '\n';
    return line;
}

std::string ExportRowLine(const ListRow& row, int columns)
{
    std::string line;
    for (int column = 0; column < columns && column < kResultColumnCount; ++column) {
        line += TabField(CellText(row, column));
        line += '\t';
    }
    line += '\n';
    return line;
}

namespace {
bool WriteAll(QIODevice& device, const std::string& bytes)
{
    return WriteWhole(device, bytes.data(), static_cast<qint64>(bytes.size()));
}

// Lines are gathered in blocks of about this many bytes, so that a long list costs a
// few hundred writes instead of one per row.
constexpr std::size_t kBlockBytes = 64 * 1024;
} // namespace

bool WriteResults(
    QIODevice& device, const std::vector<ListRow>& rows, QString* errorString, int columns)
{
    std::string block = ExportHeaderLine(columns);
    bool ok = true;
    for (const ListRow& row : rows) {
        block += ExportRowLine(row, columns);
        if (block.size() >= kBlockBytes) {
            ok = WriteAll(device, block);
            if (!ok)
                break;
            block.clear();
        }
    }
    if (ok)
        ok = WriteAll(device, block);
    if (!ok && errorString)
        *errorString = device.errorString();
    return ok;
}

bool SaveResults(
    const QString& path, const std::vector<ListRow>& rows, QString* errorString, int columns)
{
    return SaveToPath(
        path,
        [&rows, columns](QIODevice& device, QString* reason) {
            return WriteResults(device, rows, reason, columns);
        },
        errorString);
}
