// SPDX-License-Identifier: MIT
#include "app/ExportToCsv.h"

#include <QString>

#include "controls/DesktopSeam.h"
#include "query/ResultsExport.h"
#include "query/ResultsModel.h"

bool ExportResults(QWidget* parent, const ResultsModel& model)
{
    const QString path = Desktop().ChooseSaveFile(parent, QStringLiteral("ExifList"),
        QStringLiteral("CSV files (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return false;
    QString reason;
    if (!SaveResults(path, model.Rows(), &reason, model.ShownColumns())) {
        Desktop().ShowError(
            parent, QStringLiteral("Fotolot"), QStringLiteral("Error saving file"), reason);
        return false;
    }
    return true;
}
