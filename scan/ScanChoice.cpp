// SPDX-License-Identifier: MIT
#include "scan/ScanChoice.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include "catalogue/FolderWalk.h"
#include "controls/DesktopSeam.h"

QString PhotosFilter()
{
    // The dialog matches filters regardless of letter case, so lower case covers all.
    QString filter = QStringLiteral("Photos (");
    for (const std::string_view extension : PhotoExtensions()) {
        if (!filter.endsWith('('))
            filter += ' ';
        filter += QStringLiteral("*.");
        filter += QLatin1String(extension.data(), static_cast<int>(extension.size()));
    }
    return filter + ')';
}

ScanItems ChoosePhotoFiles(QWidget* parent)
{
    const QStringList paths = Desktop().ChooseFilesToOpen(parent, QString(),
        { QStringLiteral("JPEG files (*.jpg)"), QStringLiteral("all files (*)"), PhotosFilter() },
        QStringLiteral("jpg"));
    ScanItems items;
    items.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& path : paths)
        items.push_back(QFile::encodeName(path).toStdString());
    return items;
}

ScanItems ChoosePhotoFolder(QWidget* parent)
{
    const QString folder = Desktop().ChooseFolder(parent, QString());
    if (folder.isEmpty())
        return {};
    return { QFile::encodeName(folder).toStdString() };
}
