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

// Positioned reads as the reader makes them, without its retries.
class PlainReads : public FileReads {
public:
    explicit PlainReads(int fd)
        : m_fd(fd)
    {
    }
    std::size_t Read(std::uint64_t offset, std::uint8_t* out, std::size_t n) override
    {
        const ssize_t got = pread(m_fd, out, n, static_cast<off_t>(offset));
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    }

private:
    int m_fd;
};

// Reads the start of every file and returns how many gave at least one byte and a length.
// With sameReads, also the further reads the reader makes (ReadFurther: boxes and chunks
// followed to a container's EXIF block, the block, a TIFF file's far directories), at the
// same places and of the same lengths.
std::size_t ReadStarts(const std::vector<std::string>& paths, bool sameReads)
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
            FileStart start;
            start.size = static_cast<std::size_t>(n);
            start.length = static_cast<std::uint64_t>(status.st_size);
            if (sameReads) {
                PlainReads reads(fd);
                ReadFurther(reads, buffer, start);
            }
        }
        close(fd);
    }
    return readable;
}

} // namespace

int RunFloorCommand(int argc, char** argv)
{
    // --same-reads (or its older name --second-read) is the floor's own option; the rest
    // are those of every reading command.
    bool sameReads = false;
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::string(argv[i]) == "--same-reads" || std::string(argv[i]) == "--second-read")
            sameReads = true;
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
        readable = ReadStarts(options.paths, sameReads);
        const auto stop = std::chrono::steady_clock::now();
        seconds.push_back(std::chrono::duration<double>(stop - start).count());
    }

    PrintSummary(stderr, options.paths.size(), readable, MedianSeconds(seconds));
    if (options.rusage)
        PrintPeakRss(stderr);
    return 0;
}
