// SPDX-License-Identifier: MIT
#include "bench/CorpusCommand.h"

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/support/CorpusPhoto.h"

namespace {

constexpr std::size_t kFilesPerFolder = 1000;
constexpr std::size_t kFilesPerDay = 100;

// Where file i goes under DIR: NNN/IMG_i.JPG, or with a tree YYYY/MM/DD/IMG_i.JPG, 100 a
// day and 28 days a month (another extension for other formats). Zero-padded, so that the
// order of i is the order of a walk.
std::string CorpusFileName(std::size_t i, bool tree, const char* extension)
{
    char name[64];
    if (tree) {
        const std::size_t day = i / kFilesPerDay;
        std::snprintf(name, sizeof name, "/%04zu/%02zu/%02zu/IMG_%06zu.%s", 2001 + day / 336,
            day / 28 % 12 + 1, day % 28 + 1, i, extension);
    } else {
        std::snprintf(name, sizeof name, "/%03zu/IMG_%06zu.%s", i / kFilesPerFolder, i, extension);
    }
    return name;
}

// mkdir -p: creates every missing folder of path.
bool MakeFolders(const std::string& path)
{
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at < path.size() && path[at] != '/')
            continue;
        const std::string prefix = path.substr(0, at);
        if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

bool ParseUnsigned(const char* text, unsigned long long& value)
{
    if (text[0] == '-' || text[0] == '\0')
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoull(text, &end, 0);
    return errno == 0 && *end == '\0';
}

int Usage()
{
    std::fprintf(stderr,
        "usage: fotolot-bench corpus DIR COUNT [--seed S] [--tree] "
        "[--format jpeg|heic|heic-tail|cr3|raf|mrw|heic-mdat-first|png|webp|jxl|tiff]\n");
    return 2;
}

} // namespace

int RunCorpusCommand(int argc, char** argv)
{
    std::string dir;
    unsigned long long count = 0;
    unsigned long long seed = 1;
    bool tree = false;
    CorpusFormat format = CorpusFormat::Jpeg;
    int positional = 0;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seed") {
            if (i + 1 >= argc || !ParseUnsigned(argv[++i], seed))
                return Usage();
        } else if (arg == "--tree") {
            tree = true;
        } else if (arg == "--format") {
            if (i + 1 >= argc || !ParseCorpusFormat(argv[++i], format))
                return Usage();
        } else if (positional == 0) {
            dir = arg;
            ++positional;
        } else if (positional == 1) {
            if (!ParseUnsigned(argv[i], count) || count > 10000000)
                return Usage();
            ++positional;
        } else {
            return Usage();
        }
    }
    if (positional != 2)
        return Usage();

    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    if (!MakeFolders(dir)) {
        std::fprintf(stderr, "fotolot-bench corpus: cannot create %s: %s\n", dir.c_str(),
            std::strerror(errno));
        return 1;
    }
    // Absolute paths in the list, so that it serves from any working folder.
    char resolved[PATH_MAX];
    if (realpath(dir.c_str(), resolved) == nullptr) {
        std::fprintf(stderr, "fotolot-bench corpus: %s: %s\n", dir.c_str(), std::strerror(errno));
        return 1;
    }
    dir = resolved;

    const std::string listPath = dir + "/list.txt";
    std::FILE* list = std::fopen(listPath.c_str(), "w");
    if (list == nullptr) {
        std::fprintf(stderr, "fotolot-bench corpus: cannot write %s: %s\n", listPath.c_str(),
            std::strerror(errno));
        return 1;
    }

    CorpusRandom random(seed);
    std::size_t jfifFirst = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string path = dir + CorpusFileName(i, tree, CorpusExtension(format));
        if (i % (tree ? kFilesPerDay : kFilesPerFolder) == 0
            && !MakeFolders(path.substr(0, path.rfind('/')))) {
            std::fprintf(stderr, "fotolot-bench corpus: cannot create folder for %s: %s\n",
                path.c_str(), std::strerror(errno));
            std::fclose(list);
            return 1;
        }
        CorpusPhoto photo = DrawCorpusPhoto(random);
        // A JFIF segment first is a JPEG's own fault; the other formats carry no such file.
        if (format != CorpusFormat::Jpeg)
            photo.jfifFirst = false;
        if (!WriteCorpusFile(path, photo, format)) {
            std::fprintf(stderr, "fotolot-bench corpus: cannot write %s: %s\n", path.c_str(),
                std::strerror(errno));
            std::fclose(list);
            return 1;
        }
        jfifFirst += photo.jfifFirst ? 1 : 0;
        std::fprintf(list, "%s\n", path.c_str());
    }
    if (std::fclose(list) != 0) {
        std::fprintf(stderr, "fotolot-bench corpus: cannot write %s: %s\n", listPath.c_str(),
            std::strerror(errno));
        return 1;
    }
    std::fprintf(stderr, "wrote %llu files (%zu JFIF-first) under %s, list in %s\n", count,
        jfifFirst, dir.c_str(), listPath.c_str());
    return 0;
}
