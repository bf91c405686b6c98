// SPDX-License-Identifier: MIT
#pragma once

// fotolot-bench evict ARG...
// Drops the cached pages of every file (posix_fadvise POSIX_FADV_DONTNEED, after writing
// back pages still dirty, which the advice would keep), so that the next read of each
// goes to the disk, as after a reboot. Needs no privileges. Folder entries and inodes stay
// cached. Prints "evicted N files, M failed" on stderr. argv starts after "evict".
int RunEvictCommand(int argc, char** argv);
