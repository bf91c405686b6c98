// SPDX-License-Identifier: MIT
#include "capture/ImageExport.h"

#include "capture/Dib.h"

#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QSaveFile>
#include <QString>

int FindEncoder(const QByteArray& mimeType, QByteArray* format)
{
    const QList<QByteArray> encoders = QImageWriter::supportedMimeTypes();
    for (qsizetype i = 0; i < encoders.size(); ++i) {
        if (encoders.at(i) == mimeType) {
            if (format)
                *format = QImageWriter::imageFormatsForMimeType(mimeType).value(0);
            return static_cast<int>(i);
        }
    }
    return -1;
}

QString FileExtension(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

int SaveDibAsImage(
    const QString& path, const QString& extension, const std::vector<std::uint8_t>& dib)
{
    if (dib.empty())
        return 0;
    const QImage image = DibToImage(dib);

    const QByteArray mimeType = QByteArrayLiteral("image/") + extension.toLower().toUtf8();
    QByteArray format;
    if (FindEncoder(mimeType, &format) < 0 || format.isEmpty())
        return 0;
    if (image.isNull())
        return 0;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    QImageWriter writer(&file, format);
    if (!writer.write(image)) {
        file.cancelWriting();
        return 0;
    }
    return file.commit() ? 1 : 0;
}

bool IsImageEncoderAvailable()
{
    return FindEncoder(QByteArrayLiteral("image/png")) >= 0;
}
