// SPDX-License-Identifier: MIT
#include "capture/ImageExport.h"

#include "capture/Dib.h"
#include "controls/SaveToPath.h"

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QMimeDatabase>
#include <QMimeType>
#include <QString>

#include <utility>

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
    // Trailing spaces are not part of the extension: "trail.png  " is a PNG, written under
    // the name as typed, as the export writes its file.
    QString name = QFileInfo(path).fileName();
    while (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QByteArray EncoderMimeType(const QString& extension)
{
    if (extension.isEmpty())
        return {};
    const QList<QMimeType> registered
        = QMimeDatabase().mimeTypesForFileName(QStringLiteral("file.") + extension);
    for (const QMimeType& type : registered) {
        const QByteArray name = type.name().toUtf8();
        if (FindEncoder(name) >= 0)
            return name;
    }
    return QByteArrayLiteral("image/") + extension.toLower().toUtf8();
}

namespace {
bool Fail(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
    return false;
}
} // namespace

bool EncodeDibAsImage(const QString& extension, const std::vector<std::uint8_t>& dib,
    QByteArray* encoded, QString* reason)
{
    const QImage image = dib.empty() ? QImage() : DibToImage(dib);
    if (image.isNull())
        return Fail(reason, QStringLiteral("The window's picture could not be taken"));

    QByteArray format;
    if (FindEncoder(EncoderMimeType(extension), &format) < 0 || format.isEmpty()) {
        if (extension.isEmpty())
            return Fail(reason, QStringLiteral("No image writer for a name without an extension"));
        return Fail(reason, QStringLiteral("No image writer for .") + extension);
    }

    // Encoded in memory first, so that a short write to the file is gone on with and a full
    // disk or a vanished reader is reported in the system's words, not as the encoder's
    // "could not write".
    encoded->clear();
    QBuffer buffer(encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        return Fail(reason, writer.errorString());
    return true;
}

FileWriter EncodedImageWriter(QByteArray encoded)
{
    return [encoded = std::move(encoded)](QIODevice& device, QString*) {
        return WriteWhole(device, encoded.constData(), encoded.size());
    };
}

int SaveDibAsImage(const QString& path, const QString& extension,
    const std::vector<std::uint8_t>& dib, QString* reason)
{
    QByteArray encoded;
    if (!EncodeDibAsImage(extension, dib, &encoded, reason))
        return 0;
    return SaveToPath(path, EncodedImageWriter(std::move(encoded)), reason) ? 1 : 0;
}

bool IsImageEncoderAvailable()
{
    return FindEncoder(QByteArrayLiteral("image/png")) >= 0;
}
