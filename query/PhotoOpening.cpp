// SPDX-License-Identifier: MIT
#include "query/PhotoOpening.h"

#include <QByteArray>
#include <QFile>
#include <QItemSelectionModel>
#include <QUrl>

#include "controls/DesktopSeam.h"
#include "query/ResultsModel.h"

bool OpenPhoto(const std::string& path)
{
    const QString name = QFile::decodeName(QByteArray::fromStdString(path));
    return Desktop().OpenWithDesktop(QUrl::fromLocalFile(name));
}

void OpenPhotoAt(const ResultsModel& model, int row)
{
    if (const ListRow* listed = model.RowAt(row))
        OpenPhoto(listed->path);
}

void OpenSelectedPhoto(const ResultsModel& model, const QItemSelectionModel* selection)
{
    if (!selection)
        return;
    for (int row = 0; row < model.rowCount(); ++row) {
        if (selection->isRowSelected(row, QModelIndex())) {
            OpenPhotoAt(model, row);
            return;
        }
    }
}
