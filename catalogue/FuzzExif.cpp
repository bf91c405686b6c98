// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes as the start of a photo file must parse without reading
// outside them, and whatever comes out must format.
#include <cstddef>
#include <cstdint>

#include "catalogue/ExifReader.h"
#include "catalogue/PhotoCatalogue.h"
#include "catalogue/QuantityText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > kExifReadSize)
        size = kExifReadSize;
    PhotoRecord record;
    if (!ParseExif(record, data, size))
        return 0;
    for (int k = 0; k < kQuantityCount; ++k)
        FormatQuantity(static_cast<Quantity>(k), record.Value(static_cast<Quantity>(k)));
    PhotoCatalogue catalogue;
    for (int k = 0; k < kQuantityCount; ++k)
        AddValue(catalogue, static_cast<Quantity>(k), record.Value(static_cast<Quantity>(k)));
    return 0;
}
