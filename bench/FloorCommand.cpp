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
// With secondRead, also the one further read the reader makes of a container whose EXIF
// block lies beyond the start, at the same place and of the same length.
std::size_t ReadStarts(const std::vector<std::string>& paths, bool secondRead)
{
    static std::uint8_t buffer[kFileStartBufferSize];
    std::size_t readable = 0;
    for (const std::string& path : paths) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        const ssize_t n = read(fd, buffer, kExifReadSize);
        struct stat status { };
        if (n > 0 && fstat(fd, &status) == 0) {
            ++readable;
            std::uint64_t offset = 0;
            std::size_t length = 0;
            FileStart start;
            start.size = static_cast<std::size_t>(n);
            start.length = static_cast<std::uint64_t>(status.st_size);
            if (secondRead && LocateExif(buffer, start, offset, length)) {
                const ssize_t more
                    = pread(fd, buffer + kSecondReadAt, length, static_cast<off_t>(offset));
                static_cast<void>(more); // the floor counts reads, not what they gave
            }
        }
        close(fd);
    }
    return readable;
}

} // namespace

int RunFloorCommand(int argc, char** argv)
{
    // --second-read is the floor's own option; the rest are those of every reading command.
    bool secondRead = false;
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::string(argv[i]) == "--second-read")
            secondRead = true;
        else
            rest.push_back(argv[i]);
    }
    BenchRunOptions options;
    if (!ParseRunOptions("floor", static_cast<int>(rest.size()), rest.data(), options))
        return 2;

    std::vector<double> seconds;
    std::size_t readable = 0;
    for (int run = 0; run < options.repeat; ++run) {
        const auto start = std::chrono::steady_clock::now();
        readable = ReadStarts(options.paths, secondRead);
        const auto stop = std::chrono::steady_clock::now();
        seconds.push_back(std::chrono::duration<double>(stop - start).count());
    }

    PrintSummary(stderr, options.paths.size(), readable, MedianSeconds(seconds));
    if (options.rusage)
        PrintPeakRss(stderr);
    return 0;
}
