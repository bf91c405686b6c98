// SPDX-License-Identifier: MIT
#include "app/PhotoOpening.h"

#include <QByteArray>
#include <QFile>
#include <QItemSelectionModel>
#include <QUrl>

#include "controls/DesktopSeam.h"
#include "query/ResultsModel.h"

QUrl FileUrlOf(const std::string& path)
{
    const QByteArray bytes = QByteArray::fromStdString(path);
    const QString name = QFile::decodeName(bytes);
    if (QFile::encodeName(name) == bytes)
        return QUrl::fromLocalFile(name);
    // A name that is not UTF-8 has no exact QString: its bytes are percent-encoded, and
    // QUrl keeps an encoded sequence that is not UTF-8 ("bad%FF.jpg") as it is, so the
    // desktop receives the name's exact bytes.
    return QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/"), QUrl::StrictMode);
}

bool OpenPhoto(const std::string& path)
{
    return Desktop().OpenWithDesktop(FileUrlOf(path));
}

void OpenPhotoAt(QWidget* parent, const ResultsModel& model, int row)
{
    const ListRow* listed = model.RowAt(row);
    // Qt's desktop services hand the file to a launcher (xdg-open and the like) and say
    // only whether there was one to hand it to.
    if (listed && !OpenPhoto(listed->path))
        Desktop().ShowError(parent, QStringLiteral("Fotolot"), QStringLiteral("Error opening file"),
            QStringLiteral("No application to open it"));
}

void OpenSelectedPhoto(
    QWidget* parent, const ResultsModel& model, const QItemSelectionModel* selection)
{
    if (!selection)
        return;
    for (int row = 0; row < model.rowCount(); ++row) {
        if (selection->isRowSelected(row, QModelIndex())) {
            OpenPhotoAt(parent, model, row);
            return;
        }
    }
}
