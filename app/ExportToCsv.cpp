// SPDX-License-Identifier: MIT
#include "app/ExportToCsv.h"

#include <QString>

#include "controls/DesktopSeam.h"
#include "controls/SaveProgress.h"
#include "query/ResultsExport.h"
#include "query/ResultsModel.h"

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
        [rows = model.Rows(), columns = model.ShownColumns()](
            QIODevice& device, QString* said) { return WriteResults(device, rows, said, columns); },
        &reason);
    if (outcome == SaveOutcome::Failed)
        Desktop().ShowError(
            parent, QStringLiteral("Fotolot"), QStringLiteral("Error saving file"), reason);
    return outcome == SaveOutcome::Saved;
}
