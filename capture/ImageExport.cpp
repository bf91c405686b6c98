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
int Fail(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
    return 0;
}
} // namespace

int SaveDibAsImage(const QString& path, const QString& extension,
    const std::vector<std::uint8_t>& dib, QString* reason)
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
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        return Fail(reason, writer.errorString());
    const bool saved = SaveToPath(
        path,
        [&encoded](QIODevice& device, QString*) {
            return WriteWhole(device, encoded.constData(), encoded.size());
        },
        reason);
    return saved ? 1 : 0;
}

bool IsImageEncoderAvailable()
{
    return FindEncoder(QByteArrayLiteral("image/png")) >= 0;
}
