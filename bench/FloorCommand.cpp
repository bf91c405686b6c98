// SPDX-License-Identifier: MIT
#include "bench/FloorCommand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchArgs.h"
#include "bench/BenchReport.h"
#include "catalogue/ExifReader.h"

namespace {

// Reads the start of every file and returns how many gave at least one byte and a length.
std::size_t ReadStarts(const std::vector<std::string>& paths)
{
    static std::uint8_t buffer[kExifReadSize];
    std::size_t readable = 0;
    for (const std::string& path : paths) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        struct stat status { };
        if (n > 0 && fstat(fd, &status) == 0)
            ++readable;
        close(fd);
    }
    return readable;
}

} // namespace

int RunFloorCommand(int argc, char** argv)
{
    BenchRunOptions options;
    if (!ParseRunOptions("floor", argc, argv, options))
        return 2;

    std::vector<double> seconds;
    std::size_t readable = 0;
    for (int run = 0; run < options.repeat; ++run) {
        const auto start = std::chrono::steady_clock::now();
        readable = ReadStarts(options.paths);
        const auto stop = std::chrono::steady_clock::now();
        seconds.push_back(std::chrono::duration<double>(stop - start).count());
    }

    PrintSummary(stderr, options.paths.size(), readable, MedianSeconds(seconds));
    if (options.rusage)
        PrintPeakRss(stderr);
    return 0;
}
