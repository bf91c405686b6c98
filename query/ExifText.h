// SPDX-License-Identifier: MIT
// The text of a name a photo gives (camera, lens) for the screen.
#pragma once

#include <string>

class QString;

// EXIF texts are meant to be ASCII, but older cameras write Latin-1: bytes that are valid
// UTF-8 are read as UTF-8, any others as Latin-1, where every byte is a character.
QString ExifTextToQString(const std::string& bytes);
