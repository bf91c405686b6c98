// SPDX-License-Identifier: MIT
#include "query/PhotoOpening.h"

#include <QByteArray>
#include <QItemSelectionModel>
#include <QUrl>

#include "controls/DesktopSeam.h"
#include "query/ResultsModel.h"

QUrl FileUrlOf(const std::string& path)
{
    // Every byte outside the unreserved set and '/' is percent-encoded; QUrl keeps an
    // encoded sequence that is not UTF-8 (a name such as "bad%FF.jpg") as it is, so the
    // desktop receives the name's exact bytes.
    const QByteArray encoded = QByteArray::fromStdString(path).toPercentEncoding("/");
    return QUrl::fromEncoded(QByteArrayLiteral("file://") + encoded, QUrl::StrictMode);
}

bool OpenPhoto(const std::string& path)
{
    return Desktop().OpenWithDesktop(FileUrlOf(path));
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
