// SPDX-License-Identifier: MIT
#include "bench/ScanCommand.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/BenchArgs.h"
#include "bench/BenchReport.h"
#include "catalogue/PathSource.h"
#include "catalogue/PhotoCatalogue.h"
#include "catalogue/QuantityText.h"
#include "catalogue/ScanLoop.h"
#include "catalogue/TabField.h"

namespace {

// Counts the paths the reading loop takes: a folder ARG stands for all the photos under it.
class CountingSource : public PathSource {
public:
    explicit CountingSource(PathSource& paths)
        : m_paths(paths)
    {
    }
    bool Next(std::string& path) override
    {
        if (!m_paths.Next(path))
            return false;
        ++count;
        return true;
    }
    std::size_t count = 0;

private:
    PathSource& m_paths;
};

void AppendNumber(std::string& out, double value)
{
    char text[40];
    const int n = std::snprintf(text, sizeof text, "\t%.17g", value);
    if (n > 0)
        out.append(text,
            static_cast<std::size_t>(n) < sizeof text ? static_cast<std::size_t>(n)
                                                      : sizeof text - 1);
}

// path, camera, fNumber, focalLength, iso, exposureTime, fileSizeMb; tab-separated, one
// line per record (a tab or line break inside a path or camera name becomes a space).
// With allFields, then the expanded window's lens and where it came from ("LensModel",
// "Nikon Lens (0x0084)", ...; empty when none), taken ("YYYY-MM-DD HH:MM:SS" or empty),
// the 35 mm focal length, and the expanded window's ISO speed and where it came from; after
// the records one line "skipped" with the count of each reason. The
// records and counts are those of the view shown: the expanded window's when it is.
void PrintRecords(const PhotoCatalogue& catalogue, bool allFields)
{
    std::string out;
    out.reserve(1 << 20);
    for (const PhotoRecord& photo : ShownPhotos(catalogue)) {
        const PhotoRecord* record = &photo;
        out += TabField(record->path);
        out += '\t';
        out += TabField(record->camera);
        AppendNumber(out, record->fNumber);
        AppendNumber(out, record->focalLength);
        AppendNumber(out, record->iso);
        AppendNumber(out, record->exposureTime);
        AppendNumber(out, record->fileSizeMb);
        if (allFields) {
            out += '\t';
            out += TabField(ExpandedLens(*record));
            out += '\t';
            out += LensSourceText(record->extras.lensSource);
            out += '\t';
            out += TakenText(record->taken);
            AppendNumber(out, record->focal35);
            AppendNumber(out, ExpandedIso(*record));
            out += '\t';
            out += IsoSourceText(record->extras.isoSource);
        }
        out += '\n';
        if (out.size() >= (1 << 20) - 1024) {
            std::fwrite(out.data(), 1, out.size(), stdout);
            out.clear();
        }
    }
    if (allFields) {
        out += "skipped";
        for (int reason = 0; reason < kSkipReasonCount; ++reason)
            out += '\t' + std::to_string(catalogue.skipped[reason]) + ' '
                + kSkipReasonTexts[reason];
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fflush(stdout);
}

} // namespace

int RunScanCommand(int argc, char** argv)
{
    BenchRunOptions options;
    if (!ParseRunOptions("scan", argc, argv, options))
        return 2;

    std::vector<double> seconds;
    std::unique_ptr<PhotoCatalogue> catalogue;
    std::size_t scanned = 0;
    for (int run = 0; run < options.repeat; ++run) {
        // The previous run's records are released outside the timed region.
        catalogue.reset();
        catalogue = std::make_unique<PhotoCatalogue>();
        ShowView(*catalogue, options.expanded);
        // The window hands its worker the chosen paths without a copy; so does the last run
        // here, and earlier runs copy them before the clock starts.
        std::vector<std::string> items
            = run + 1 < options.repeat ? options.paths : std::move(options.paths);
        const auto start = std::chrono::steady_clock::now();
        BeginScan(*catalogue);
        const std::unique_ptr<PathSource> source = MakeScanSource(std::move(items));
        CountingSource counted(*source);
        ScanChosenFiles(*catalogue, counted);
        scanned = counted.count;
        const auto stop = std::chrono::steady_clock::now();
        seconds.push_back(std::chrono::duration<double>(stop - start).count());
    }

    PrintRecords(*catalogue, options.allFields);
    PrintSummary(
        stderr, scanned, static_cast<std::size_t>(catalogue->recordCount), MedianSeconds(seconds));
    if (options.rusage)
        PrintPeakRss(stderr);
    return 0;
}
