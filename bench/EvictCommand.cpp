// SPDX-License-Identifier: MIT
#include "bench/EvictCommand.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "bench/BenchArgs.h"

int RunEvictCommand(int argc, char** argv)
{
    BenchRunOptions options;
    if (!ParseRunOptions("evict", argc, argv, options))
        return 2;
    if (options.repeat != 1 || options.rusage) {
        std::fprintf(stderr, "usage: fotolot-bench evict ARG...\n");
        return 2;
    }
    std::size_t evicted = 0;
    std::size_t failed = 0;
    for (const std::string& path : options.paths) {
        const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        // fdatasync costs nothing on a file without dirty pages.
        const bool ok
            = fd >= 0 && fdatasync(fd) == 0 && posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0;
        if (fd >= 0)
            close(fd);
        if (ok)
            ++evicted;
        else
            ++failed;
    }
    std::fprintf(stderr, "evicted %zu files, %zu failed\n", evicted, failed);
    return failed == 0 ? 0 : 1;
}
