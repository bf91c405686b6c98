// SPDX-License-Identifier: MIT
#include "query/ResultsExport.h"

#include <QIODevice>
#include <QString>

#include "catalogue/TabField.h"
#include "controls/DesktopSeam.h"
#include "controls/SaveProgress.h"
#include "controls/SaveToPath.h"
#include "query/ResultsModel.h"

std::string ExportHeaderLine()
{
    return "Filename\tCamera\tAperture\tFocal Length\tISO\tShutter Speed\n";
}

std::string ExportRowLine(const ListRow& row)
{
    std::string line;
    for (int column = 0; column < kResultColumnCount; ++column) {
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

bool WriteResults(QIODevice& device, const std::vector<ListRow>& rows, QString* errorString)
{
    std::string block = ExportHeaderLine();
    bool ok = true;
    for (const ListRow& row : rows) {
        block += ExportRowLine(row);
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

bool SaveResults(const QString& path, const std::vector<ListRow>& rows, QString* errorString)
{
    return SaveToPath(
        path,
        [&rows](QIODevice& device, QString* reason) { return WriteResults(device, rows, reason); },
        errorString);
}

bool ExportResults(QWidget* parent, const ResultsModel& model)
{
    const QString path = Desktop().ChooseSaveFile(parent, QStringLiteral("ExifList"),
        QStringLiteral("CSV files (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return false;
    // The worker writes its own copy of the rows: nothing the window does meanwhile can
    // change them under it.
    QString reason;
    const SaveOutcome outcome = SaveWithProgress(
        parent, path,
        [rows = model.Rows()](
            QIODevice& device, QString* said) { return WriteResults(device, rows, said); },
        &reason);
    if (outcome == SaveOutcome::Failed)
        Desktop().ShowError(
            parent, QStringLiteral("Fotolot"), QStringLiteral("Error saving file"), reason);
    return outcome == SaveOutcome::Saved;
}
