// SPDX-License-Identifier: MIT
#include "catalogue/ScanLoop.h"

#include <chrono>
#include <utility>

#include "catalogue/ExifReader.h"
#include "catalogue/Focal35.h"
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

// A file that neither view counts.
void Skip(PhotoCatalogue& catalogue, int reason)
{
    ++catalogue.skipped[reason];
    if (!catalogue.viewsAlike)
        ++catalogue.otherView.skipped[reason];
}

} // namespace

void BeginScan(PhotoCatalogue& catalogue)
{
    catalogue.recordCount = 0;
    catalogue.viewsAlike = true;
    catalogue.head = std::make_unique<PhotoRecord>();
    catalogue.spare = catalogue.head.get();
}

void AcceptSpareRecord(PhotoCatalogue& catalogue)
{
    PhotoRecord& record = *catalogue.spare;
    if (catalogue.viewsAlike && !InView(record, false)) {
        // The first photo of the expanded view alone: from here on each view counts its own.
        catalogue.otherView = static_cast<const ViewTables&>(catalogue);
        catalogue.viewsAlike = false;
    }
    const std::pair<ViewTables*, bool> views[] = { { &catalogue, catalogue.expandedView },
        { &catalogue.otherView, !catalogue.expandedView } };
    if (!InView(record, false))
        catalogue.skippedFiles.push_back({ catalogue.currentPath, kSkipLaterSegment, 0 });
    for (const auto& [view, expanded] : views) {
        if (view != &catalogue && catalogue.viewsAlike)
            break;
        if (!InView(record, expanded)) {
            // Where the window as it starts looks, this file has no EXIF block.
            ++view->skipped[SkipNoExif];
            continue;
        }
        for (int k = 0; k < kQuantityCount; ++k) {
            const Quantity q = static_cast<Quantity>(k);
            AddValue(*view, q, QuantityValue(record, q, false));
        }
        ++view->recordCount;
    }
    record.next = std::make_unique<PhotoRecord>();
    catalogue.spare = record.next.get();
}

void ScanChosenFiles(PhotoCatalogue& catalogue, PathSource& paths, const ReadAheadOptions& options)
{
    catalogue.viewsAlike = true;
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
            Skip(catalogue, file->start.reason);
            catalogue.skippedFiles.push_back({ file->path, file->start.reason, file->start.error });
        } else if (ParsePhoto(file->path, file->bytes, file->start, *catalogue.spare)) {
            AcceptSpareRecord(catalogue);
        } else {
            const SkipReason reason
                = file->start.reason == SkipTooLarge ? SkipTooLarge : SkipNoExif;
            Skip(catalogue, reason);
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
    if (!catalogue.viewsAlike)
        SortValueTables(catalogue.otherView);
    LearnFocal35(catalogue);
    Notify(catalogue, ScanDone);
}
