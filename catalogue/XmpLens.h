// SPDX-License-Identifier: MIT
// The lens an XMP packet names, for the expanded window where the EXIF block names none.
#pragma once

#include <cstddef>
#include <cstdint>

struct PhotoExtras;

// Walks the JPEG segments of the bytes read (size of them, the start-of-image marker at
// byte 0) up to the image data, and in the first XMP packet (an APP1 segment that starts
// "http://ns.adobe.com/xap/1.0/\0") looks for aux:Lens, then exifEX:LensModel, as an
// attribute (name="value") or an element (<name>value</name>). A value whose end lies
// beyond the bytes read is not taken. Sets extras' lens and its source when one is found.
void ReadXmpLens(const std::uint8_t* data, std::size_t size, PhotoExtras& extras);
