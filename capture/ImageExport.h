// SPDX-License-Identifier: MIT
// Image encoders, chosen by MIME type: the encoder list is Qt's list of writable MIME
// types (QImageWriter::supportedMimeTypes), and a file's encoder is the one whose MIME type
// is "image/" followed by the file's lower-cased extension.
#pragma once

#include <cstdint>
#include <vector>

class QByteArray;
class QString;

// The position of mimeType in the encoder list (exact, case-sensitive match), or -1. On a
// match, format (if given) receives the Qt image format name that writes it.
int FindEncoder(const QByteArray& mimeType, QByteArray* format = nullptr);

// True when an encoder for "image/png", the screenshot's default format, is available;
// the main window enables its Screenshot button by it.
bool IsImageEncoderAvailable();

// The text after the last dot of the file name in path; empty if the name has no dot or
// ends with one.
QString FileExtension(const QString& path);

// Decodes the packed DIB (see capture/Dib.h) and writes it to path with the encoder of
// "image/" + the lower-cased extension. The file appears complete or not at all: it is
// written beside the target under a temporary name and renamed over it at the end.
// Returns 1 on success, 0 on failure (empty or malformed DIB, no such encoder, a folder
// that cannot be written).
int SaveDibAsImage(
    const QString& path, const QString& extension, const std::vector<std::uint8_t>& dib);
