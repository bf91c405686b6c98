// SPDX-License-Identifier: MIT
// For the fuzzer and the tests: marks every byte of a read buffer that the reads of a file
// did not fill as off limits to the address sanitizer, so that a parse straying past what
// was read stops there (a build without the sanitizer marks nothing). Returns whether either
// block area holds bytes.
#pragma once

#include <cstddef>
#include <cstdint>

#include <sanitizer/asan_interface.h>

#include "catalogue/ExifReader.h"

inline bool PoisonUnread(std::uint8_t* bytes, const FileStart& start)
{
    std::size_t held[2] = { 0, 0 }; // bytes held in each of the two block areas
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
    return held[0] != 0 || held[1] != 0;
}
