// SPDX-License-Identifier: MIT
#include "bench/ExportCommand.h"

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QFile>
#include <QString>

#include "bench/BenchArgs.h"
#include "catalogue/PathSource.h"
#include "catalogue/PhotoCatalogue.h"
#include "catalogue/ScanLoop.h"
#include "query/ListRow.h"
#include "query/ResultsExport.h"

int RunExportCommand(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fotolot-bench export LISTFILE OUT\n");
        return 2;
    }
    std::vector<std::string> paths;
    std::string error;
    if (!AppendListFile(argv[0], paths, error)) {
        std::fprintf(stderr, "fotolot-bench export: %s\n", error.c_str());
        return 1;
    }
    PhotoCatalogue catalogue;
    BeginScan(catalogue);
    const std::unique_ptr<PathSource> source = MakeScanSource(std::move(paths));
    ScanChosenFiles(catalogue, *source);

    // A query whose bounds span the whole catalogue lists every photo in catalogue order.
    std::vector<ListRow> rows;
    rows.reserve(static_cast<std::size_t>(catalogue.recordCount));
    const PhotoRecord* record = catalogue.head.get();
    for (int i = 0; i < catalogue.recordCount && record; ++i, record = record->next.get())
        rows.emplace_back(*record);

    QString reason;
    if (!SaveResults(QFile::decodeName(QByteArray(argv[1])), rows, &reason)) {
        std::fprintf(stderr, "fotolot-bench export: %s\n", reason.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
