// SPDX-License-Identifier: MIT
// Image encoders, chosen by MIME type: the encoder list is Qt's list of writable MIME
// types (QImageWriter::supportedMimeTypes), and a file's encoder is the one whose MIME type
// the system's MIME database registers for the file's extension (EncoderMimeType).
#pragma once

#include <cstdint>
#include <vector>

#include "controls/SaveToPath.h"

class QByteArray;
class QString;

// The position of mimeType in the encoder list (exact, case-sensitive match), or -1. On a
// match, format (if given) receives the Qt image format name that writes it.
int FindEncoder(const QByteArray& mimeType, QByteArray* format = nullptr);

// True when an encoder for "image/png", the screenshot's default format, is available;
// the main window enables its Screenshot button by it.
bool IsImageEncoderAvailable();

// The text after the last dot of the file name in path, trailing spaces left out; empty if
// the name has no dot or ends with one.
QString FileExtension(const QString& path);

// The MIME type whose encoder writes files with extension: of the types the MIME database
// registers for "*.<extension>" (matched regardless of case: jpg, JPG, jpe and jpeg give
// image/jpeg, tif gives image/tiff), the first one an encoder writes; failing that,
// "image/" + the lower-cased extension. Empty for an empty extension.
QByteArray EncoderMimeType(const QString& extension);

// Decodes the packed DIB (see capture/Dib.h) and encodes it in memory into encoded with the
// encoder of EncoderMimeType(extension). Returns false with reason (if given) set when the
// DIB is empty or malformed or no encoder fits ("No image writer for .xyz").
bool EncodeDibAsImage(const QString& extension, const std::vector<std::uint8_t>& dib,
    QByteArray* encoded, QString* reason = nullptr);

// A FileWriter (controls/SaveToPath.h) that writes encoded whole.
FileWriter EncodedImageWriter(QByteArray encoded);

// Decodes the packed DIB (see capture/Dib.h) and writes it to path with the encoder of
// EncoderMimeType(extension), as SaveToPath writes a file (controls/SaveToPath.h): whole
// or not at all, a device or FIFO in place and never waiting for a reader. Returns 1 on
// success, 0 on failure (empty or malformed DIB, no such encoder, a target that cannot be
// written), with reason (if given) set to what went wrong ("No image writer for .xyz").
int SaveDibAsImage(const QString& path, const QString& extension,
    const std::vector<std::uint8_t>& dib, QString* reason = nullptr);
