// SPDX-License-Identifier: MIT
#include "scan/ScanChoice.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include "controls/DesktopSeam.h"

ScanItems ChoosePhotoFiles(QWidget* parent)
{
    const QStringList paths = Desktop().ChooseFilesToOpen(parent, QString(),
        { QStringLiteral("JPEG files (*.jpg)"), QStringLiteral("all files (*)") },
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
