// SPDX-License-Identifier: MIT
// fotolot-bench: the developer's benchmark of the catalogue code. Each subcommand lives
// in a file of its own; this only dispatches on the first argument.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "bench/CorpusCommand.h"
#include "bench/EvictCommand.h"
#include "bench/FloorCommand.h"
#include "bench/ScanCommand.h"
// The window subcommands are built only with the Qt layers (bench/CMakeLists.txt defines
// FOTOLOT_BENCH_WINDOW then).
#ifdef FOTOLOT_BENCH_WINDOW
#include "bench/ExportCommand.h"
#include "bench/OpenDialogCommand.h"
#include "bench/WindowCommands.h"
#endif

namespace {

struct Subcommand {
    const char* name;
    int (*run)(int argc, char** argv); // gets the arguments after the subcommand's name
    const char* usage;
};

const Subcommand kSubcommands[] = {
    { "scan", RunScanCommand,
        "scan [--repeat N] [--rusage] [--all-fields] ARG...   read files as a scan run does" },
    { "floor", RunFloorCommand,
        "floor [--repeat N] [--rusage] [--same-reads] ARG...  open, read 32 KiB, fstat, "
        "[the reader's further reads,] close" },
    { "evict", RunEvictCommand,
        "evict ARG...                         drop the files' cached pages" },
    { "corpus", RunCorpusCommand,
        "corpus DIR COUNT [--seed S] [--tree] [--format F]  write synthetic photos and "
        "DIR/list.txt" },
#ifdef FOTOLOT_BENCH_WINDOW
    { "window-scan", RunWindowScanCommand,
        "window-scan [--repeat N] [--rusage] ARG...  one scan run through the real window" },
    { "window-query", RunWindowQueryCommand,
        "window-query COUNT                   query, sort and Show over COUNT photos in the "
        "window" },
    { "query", RunQueryCommand,
        "query COUNT                          a query with the panel's filters and counts" },
    { "export", RunExportCommand,
        "export LISTFILE OUT                  scan the listed photos, export them as the window "
        "does" },
    { "open-dialog", RunOpenDialogCommand,
        "open-dialog                          time Ctrl+A and Enter in the open dialog (cwd)" },
#endif
};

int Usage(std::FILE* out)
{
    std::fprintf(out, "usage: fotolot-bench SUBCOMMAND ...\n");
    for (const Subcommand& s : kSubcommands)
        std::fprintf(out, "  fotolot-bench %s\n", s.usage);
    std::fprintf(out,
        "An ARG is a file path, a folder (walked for photo files) or @LIST, a file of paths one "
        "a line.\n--tree spreads the corpus over year/month/day folders; --format F writes jpeg "
        "(default), heic, heic-tail (EXIF at the end), cr3, raf, mrw, heic-mdat-first (meta at "
        "the end), png, webp, jxl (EXIF after the image) or tiff files.\n");
    return out == stdout ? 0 : 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage(stderr);
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)
        return Usage(stdout);
    for (const Subcommand& s : kSubcommands) {
        if (std::strcmp(argv[1], s.name) == 0)
            return s.run(argc - 2, argv + 2);
    }
    std::fprintf(stderr, "fotolot-bench: unknown subcommand %s\n", argv[1]);
    return Usage(stderr);
}
