// SPDX-License-Identifier: MIT
// Files and folders deeper than the system's path length (PATH_MAX, 4096 bytes on Linux):
// a path too long for one system call is opened folder by folder, each step relative to
// the folder before (openat), so that a deep tree loses no photo.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/ExifReader.h"

// open(path, flags) for a path of any length. Returns the descriptor, or -1 with errno set.
int OpenAnyLength(const std::string& path, int flags);

// ReadFileStart for a path of any length: one open without blocking (through OpenAnyLength
// where the path is too long for one), the regular-file check and the length (fstat), one
// read of at most kExifReadSize bytes, one close, on the calling thread. Returns false when
// the file cannot be opened, is not a regular file or gives no byte; no descriptor stays
// open in any case.
bool ReadFileStartAnyLength(const std::string& path, std::uint8_t* buffer, FileStart& start);
