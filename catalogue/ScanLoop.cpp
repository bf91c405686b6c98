// SPDX-License-Identifier: MIT
#include "catalogue/ScanLoop.h"

#include <chrono>

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

// Shows the folder a walk looks through while it finds no photos, at most four times a
// second, and stops the walk on a cancel.
class FolderNotices : public WalkWatch {
public:
    explicit FolderNotices(PhotoCatalogue& catalogue)
        : m_catalogue(catalogue)
    {
    }
    bool Stopped() override { return m_catalogue.cancelRequested.load(); }
    void Entered(const std::string& folder) override
    {
        const auto now = std::chrono::steady_clock::now();
        if (m_noticed && now - m_last < kInterval)
            return;
        m_catalogue.currentPath = folder;
        Notify(m_catalogue, ScanFolder);
        Noticed();
    }
    void PassedOver(const std::string& file) override
    {
        m_catalogue.skippedFiles.push_back({ file, kSkipOtherKind, 0 });
        ++m_catalogue.otherKinds;
    }
    // A notice went out: the next folder notice waits a while.
    void Noticed()
    {
        m_noticed = true;
        m_last = std::chrono::steady_clock::now();
    }

private:
    static constexpr std::chrono::milliseconds kInterval { 250 };
    PhotoCatalogue& m_catalogue;
    std::chrono::steady_clock::time_point m_last {};
    bool m_noticed = false;
};

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
    for (int k = 0; k < kQuantityCount; ++k) {
        const Quantity q = static_cast<Quantity>(k);
        AddValue(catalogue, q, QuantityValue(record, q, false));
    }
    record.next = std::make_unique<PhotoRecord>();
    catalogue.spare = record.next.get();
    ++catalogue.recordCount;
}

void ScanChosenFiles(PhotoCatalogue& catalogue, PathSource& paths, const ReadAheadOptions& options)
{
    ResetValueTables(catalogue);
    for (int& count : catalogue.skipped)
        count = 0;
    catalogue.skippedFiles.clear();
    catalogue.otherKinds = 0;
    if (catalogue.spare == nullptr)
        BeginScan(catalogue);
    FolderNotices folders(catalogue);
    paths.Watch(&folders);
    ReadAheadOptions reading = options;
    reading.cancel = &catalogue.cancelRequested;
    ReadAhead files(paths, reading);
    while (const ReadAhead::File* file = files.Next()) {
        catalogue.currentPath = file->path;
        if (!file->read) {
            ++catalogue.skipped[file->start.reason];
            catalogue.skippedFiles.push_back({ file->path, file->start.reason, file->start.error });
        } else if (ParsePhoto(file->path, file->bytes, file->start, *catalogue.spare)) {
            AcceptSpareRecord(catalogue);
        } else {
            const SkipReason reason
                = file->start.reason == SkipTooLarge ? SkipTooLarge : SkipNoExif;
            ++catalogue.skipped[reason];
            catalogue.skippedFiles.push_back({ file->path, reason, 0 });
        }
        Notify(catalogue, ScanProgress);
        folders.Noticed();
        // Looked at only after a file and its notice, so the file being read when the
        // user cancels is always finished.
        if (catalogue.cancelRequested.load()) {
            files.Stop();
            paths.Watch(nullptr);
            Notify(catalogue, ScanClose);
            return;
        }
    }
    files.Stop();
    paths.Watch(nullptr);
    // A cancel during a walk that found no file to hand out ends the stream early.
    if (catalogue.cancelRequested.load()) {
        Notify(catalogue, ScanClose);
        return;
    }
    SortValueTables(catalogue);
    Notify(catalogue, ScanDone);
}
