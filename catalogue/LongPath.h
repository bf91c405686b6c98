// SPDX-License-Identifier: MIT
// Files and folders deeper than the system's path length (PATH_MAX, 4096 bytes on Linux):
// a path too long for one system call is opened folder by folder, each step relative to
// the folder before (openat), so that a deep tree loses no photo.
#pragma once

#include <string>

// open(path, flags) for a path of any length. Returns the descriptor, or -1 with errno set.
int OpenAnyLength(const std::string& path, int flags);
