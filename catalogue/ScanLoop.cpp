// SPDX-License-Identifier: MIT
#include "catalogue/ScanLoop.h"

#include "catalogue/ExifReader.h"
#include "catalogue/PathSource.h"
#include "catalogue/PhotoCatalogue.h"
#include "catalogue/QuantityText.h"

namespace {

void Notify(PhotoCatalogue& catalogue, ScanNoticeCode code)
{
    if (catalogue.progressWindow != nullptr)
        catalogue.progressWindow->Notice(code);
}

} // namespace

void BeginScan(PhotoCatalogue& catalogue)
{
    catalogue.recordCount = 0;
    catalogue.head = std::make_unique<PhotoRecord>();
    catalogue.spare = catalogue.head.get();
}

void AcceptSpareRecord(PhotoCatalogue& catalogue)
{
    PhotoRecord& record = *catalogue.spare;
    for (int k = 0; k < kQuantityCount; ++k)
        AddValue(catalogue, static_cast<Quantity>(k), record.*QuantityTable()[k].recordField);
    record.next = std::make_unique<PhotoRecord>();
    catalogue.spare = record.next.get();
    ++catalogue.recordCount;
}

void ScanChosenFiles(PhotoCatalogue& catalogue, PathSource& paths, const ReadAheadOptions& options)
{
    ResetValueTables(catalogue);
    for (int& count : catalogue.skipped)
        count = 0;
    if (catalogue.spare == nullptr)
        BeginScan(catalogue);
    ReadAhead files(paths, options);
    while (const ReadAhead::File* file = files.Next()) {
        catalogue.currentPath = file->path;
        if (!file->read)
            ++catalogue.skipped[file->start.reason];
        else if (ParsePhoto(file->path, file->bytes, file->start, *catalogue.spare))
            AcceptSpareRecord(catalogue);
        else
            ++catalogue.skipped[SkipNoExif];
        Notify(catalogue, ScanProgress);
        // Looked at only after a file and its notice, so the file being read when the
        // user cancels is always finished.
        if (catalogue.cancelRequested.load()) {
            files.Stop();
            Notify(catalogue, ScanClose);
            return;
        }
    }
    files.Stop();
    SortValueTables(catalogue);
    Notify(catalogue, ScanDone);
}
