// SPDX-License-Identifier: MIT
#include "controls/ImageEncoder.h"

#include <QByteArray>
#include <QImageWriter>
#include <QList>

bool IsImageEncoderAvailable()
{
    return QImageWriter::supportedMimeTypes().contains(QByteArrayLiteral("image/png"));
}
