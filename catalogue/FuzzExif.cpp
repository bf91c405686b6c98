// SPDX-License-Identifier: MIT
// libFuzzer target: any bytes as a whole photo file must parse without reading outside
// the bytes read, and whatever comes out must format. The input is the file: the reader's
// first read and every further read it makes (boxes and chunks followed, a box read
// whole, an Exif item's extents, a TIFF file's far directories) are made from it, so the
// very reads and parse of a scan run over it. tests/fuzz/seeds holds seeds: the files of
// the reader's tests (PhotoContainerTest writes them to the folder that FOTOLOT_FUZZ_SEEDS
// names). Run on a copy: the fuzzer adds to its corpus folder.
#include <cstddef>
#include <cstdint>
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
    ReadMemoryStart(data, size, bytes, start);
    if (start.reads > kMaxFileReads)
        __builtin_trap();
    if (start.size == 0)
        return 0;
    // Every byte not read is off limits to the parse.
    std::size_t held[2] = { 0, 0 };
    for (std::size_t i = 0; i < start.blockCount; ++i) {
        if (start.blocks[i].at >= kBlockAreaAt)
            held[(start.blocks[i].at - kBlockAreaAt) / kExifBlockReadSize] = start.blocks[i].size;
    }
    for (std::size_t i = 0; i < start.pieceCount; ++i)
        held[(start.pieces[i].at - kBlockAreaAt) / kExifBlockReadSize] = start.pieces[i].size;
    ASAN_POISON_MEMORY_REGION(bytes + start.size, kBlockAreaAt - start.size);
    for (std::size_t i = 0; i < 2; ++i)
        ASAN_POISON_MEMORY_REGION(
            bytes + kBlockAreaAt + i * kExifBlockReadSize + held[i], kExifBlockReadSize - held[i]);

    PhotoRecord record;
    const bool accepted = ParsePhoto("fuzz", bytes, start, record);
    // With one read and every block in place, the parse finds the same when it has to
    // locate the blocks itself.
    if (start.reads == 1 && held[0] == 0 && held[1] == 0) {
        FileStart unlocated = start;
        unlocated.located = false;
        PhotoRecord again;
        const bool acceptedAgain = ParsePhoto("fuzz", bytes, unlocated, again);
        if (accepted != acceptedAgain || record.camera != again.camera || record.iso != again.iso
            || record.fNumber != again.fNumber)
            __builtin_trap();
    }
    ASAN_UNPOISON_MEMORY_REGION(bytes, kFileStartBufferSize);
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
