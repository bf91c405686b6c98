// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes as a whole photo file must parse without reading outside
// the bytes read, and whatever comes out must format. The input is the file: its first
// kExifReadSize bytes are the first read, and where the reader would read a second time
// (a container whose EXIF block lies further on), those bytes are copied in as that read
// would give them, so the very parse of a scan runs over both. tests/fuzz/seeds holds
// seeds: the files of the reader's tests (PhotoContainerTest writes them to the folder
// that FOTOLOT_FUZZ_SEEDS names). Run on a copy: the fuzzer adds to its corpus folder.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include <sanitizer/asan_interface.h>

#include "catalogue/ExifReader.h"
#include "catalogue/PhotoCatalogue.h"
#include "catalogue/QuantityText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[kFileStartBufferSize]);
    std::uint8_t* const bytes = buffer.get();
    ASAN_UNPOISON_MEMORY_REGION(bytes, kFileStartBufferSize);
    FileStart start;
    start.size = std::min(size, kExifReadSize);
    start.length = size;
    if (start.size == 0)
        return 0;
    std::memcpy(bytes, data, start.size);
    std::uint64_t offset = 0;
    std::size_t length = 0;
    if (LocateExif(bytes, start, offset, length) && offset < size) {
        start.secondOffset = offset;
        start.secondSize = static_cast<std::size_t>(std::min<std::uint64_t>(length, size - offset));
        std::memcpy(bytes + kSecondReadAt, data + offset, start.secondSize);
    }
    // Every byte not read is off limits to the parse.
    ASAN_POISON_MEMORY_REGION(bytes + start.size, kSecondReadAt - start.size);
    ASAN_POISON_MEMORY_REGION(bytes + kSecondReadAt + start.secondSize,
        kFileStartBufferSize - kSecondReadAt - start.secondSize);

    PhotoRecord record;
    const bool accepted = ParsePhoto("fuzz", bytes, start, record);
    // The parse finds the same when it has to locate the blocks itself.
    FileStart unlocated = start;
    unlocated.located = false;
    unlocated.container = ContainerExif();
    PhotoRecord again;
    const bool acceptedAgain = ParsePhoto("fuzz", bytes, unlocated, again);
    ASAN_UNPOISON_MEMORY_REGION(bytes, kFileStartBufferSize);
    if (accepted != acceptedAgain || record.camera != again.camera || record.iso != again.iso
        || record.fNumber != again.fNumber)
        __builtin_trap();
    if (!accepted)
        return 0;
    PhotoCatalogue catalogue;
    for (int k = 0; k < kQuantityCount; ++k) {
        const Quantity q = static_cast<Quantity>(k);
        for (const bool expanded : { false, true }) {
            FormatQuantity(q, QuantityValue(record, q, expanded));
            AddValue(catalogue, q, QuantityValue(record, q, expanded));
        }
    }
    return 0;
}
