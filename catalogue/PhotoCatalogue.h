// SPDX-License-Identifier: MIT
// The in-memory photo catalogue: a singly linked list of photo records in reading
// order, and for each quantity a table of the distinct values seen.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/PhotoFields.h"
#include "catalogue/QuantityText.h"

// One photo of the catalogue's list.
struct PhotoRecord : PhotoFields {
    std::unique_ptr<PhotoRecord> next;

    PhotoRecord() = default;
    PhotoRecord(const PhotoRecord&) = delete;
    PhotoRecord& operator=(const PhotoRecord&) = delete;
    // Releases the records after this one iteratively, so that a long list never
    // recurses once per record.
    ~PhotoRecord();
};

// Receives the notices of a scan run (progress after each file, a folder being looked
// through, done, close).
class ScanNotifier {
public:
    virtual ~ScanNotifier() = default;
    virtual void Notice(int code) = 0;
};

enum ScanNoticeCode : int {
    ScanProgress = 1,
    ScanDone = 2,
    ScanClose = 3,
    // While a walk looks through folders without finding photos, now and then (at most
    // four times a second): currentPath is the folder it has entered.
    ScanFolder = 4,
};

// Why the scan run left a file out.
enum SkipReason : int {
    SkipNoExif = 0, // no TIFF byte-order mark where the reader looks (or an empty file)
    SkipUnreadable = 1, // cannot be opened or read
    SkipNotRegularFile = 2, // a folder, device, FIFO or socket
    SkipPathTooLong = 3, // the path or one of its names is longer than the system takes
    // The box that holds the EXIF data's place is over 256 KiB, or the Exif item is split
    // into pieces that together hold over 64 KiB
    SkipTooLarge = 4,
};
constexpr int kSkipReasonCount = 5;
// "no EXIF block", "unreadable", "not a regular file", "path too long", "EXIF block too
// large to read", by SkipReason.
extern const char* const kSkipReasonTexts[kSkipReasonCount];

// A file the last run read no photo from: why, and for one that could not be read the
// system's error number (errno; 0 when none is known). A walk through folders passes over
// files whose names are of no photo format without reading them (kSkipOtherKind).
constexpr int kSkipOtherKind = kSkipReasonCount;
// A JPEG whose EXIF segment follows other leading segments: read and counted by the
// expanded view, left out by the window as it starts.
constexpr int kSkipLaterSegment = kSkipReasonCount + 1;
struct SkippedFile {
    std::string path; // the file system's bytes
    int reason = 0; // a SkipReason, or kSkipOtherKind
    int error = 0;
};

// "no EXIF block", "unreadable: Permission denied", "not a photo format (.xmp)", ...
std::string SkippedFileReason(const SkippedFile& file);

constexpr int kValueTableSize = 200;
// A value must be greater than this to enter a value table.
constexpr double kSmallestTableValue = 1e-8;

// What one view of the catalogue counts: its photos, the value tables of their quantities
// and the files it left out.
struct ViewTables {
    int recordCount = 0;
    double values[kQuantityCount][kValueTableSize] = {};
    int valueCounts[kQuantityCount] = {};
    int skipped[kSkipReasonCount] = {}; // files of the last run left out, by SkipReason
};

// One scan run serves two views. The window as it starts counts the photos that the
// reader's first rule takes (EXIF at the start of a JPEG or TIFF file, or in another
// container's own place); the expanded window counts every photo read, the JPEGs whose
// EXIF segment follows other segments too (ExifPlace::LaterSegment), which the first view
// counts as files without an EXIF block. The list holds the records of both in reading
// order; the catalogue's own ViewTables members are the view shown (expandedView), and
// otherView is the other one. A scan fills both; ShowView swaps them. Until a scan meets a
// photo of the expanded view alone, the views are alike and otherView is not kept: the
// members stand for both, and a scan of files the window as it starts takes costs what it
// did before there were two views.
struct PhotoCatalogue : ViewTables {
    ScanNotifier* progressWindow = nullptr; // receives the current run's notices
    std::atomic<bool> cancelRequested {
        false
    }; // set by the user-interface thread, polled by the worker
    std::string currentPath; // the file the worker is reading
    std::unique_ptr<PhotoRecord> head; // counted records, then the spare record
    PhotoRecord* spare = nullptr; // the uncounted last record, read into next
    bool expandedView = false; // the view that recordCount, values, ... hold
    bool viewsAlike = true; // both views count the same photos; otherView is not kept
    ViewTables otherView;
    // Every file of the last run left out, in the order met, and the photos that only the
    // expanded view counts (kSkipLaterSegment); then those passed over by a walk, counted
    // apart. ShownSkippedFiles gives those of the view shown.
    std::vector<SkippedFile> skippedFiles;
    int otherKinds = 0;

    PhotoCatalogue() = default;
    PhotoCatalogue(const PhotoCatalogue&) = delete;
    PhotoCatalogue& operator=(const PhotoCatalogue&) = delete;
};

// Whether record is a photo of the expanded view (expanded) or of the window as it starts.
inline bool InView(const PhotoRecord& record, bool expanded)
{
    return expanded || record.extras.exifPlace == ExifPlace::Start;
}

// Makes the expanded view (expanded) or the other the one shown.
void ShowView(PhotoCatalogue& catalogue, bool expanded);

// The files the view shown left out, in the order met: skippedFiles without the photos
// that only the expanded view counts when that view is shown.
std::vector<SkippedFile> ShownSkippedFiles(const PhotoCatalogue& catalogue);

// Whether the two views count different photos: some record is the expanded view's alone.
inline bool ViewsDiffer(const PhotoCatalogue& catalogue)
{
    return !catalogue.viewsAlike;
}

// The photos of the view shown, in catalogue order: from head along next, passing over the
// records of the other view alone, exactly recordCount of them (never the spare record).
class ShownPhotos {
public:
    explicit ShownPhotos(const PhotoCatalogue& catalogue)
        : m_catalogue(catalogue)
    {
    }
    class Iterator {
    public:
        Iterator(const PhotoRecord* record, int left, bool expanded)
            : m_record(record)
            , m_left(left)
            , m_expanded(expanded)
        {
            Settle();
        }
        const PhotoRecord& operator*() const { return *m_record; }
        const PhotoRecord* operator->() const { return m_record; }
        Iterator& operator++()
        {
            --m_left;
            m_record = m_record->next.get();
            Settle();
            return *this;
        }
        bool operator!=(const Iterator& other) const { return m_record != other.m_record; }

    private:
        // On the next record of the view, or null when none is left to give.
        void Settle()
        {
            if (m_left <= 0)
                m_record = nullptr;
            while (m_record != nullptr && !InView(*m_record, m_expanded))
                m_record = m_record->next.get();
        }
        const PhotoRecord* m_record;
        int m_left; // records of the view still to give
        bool m_expanded;
    };
    Iterator begin() const
    {
        return Iterator(m_catalogue.head.get(), m_catalogue.recordCount, m_catalogue.expandedView);
    }
    Iterator end() const { return Iterator(nullptr, 0, false); }

private:
    const PhotoCatalogue& m_catalogue;
};

// Enters one value of a newly accepted photo into quantity k's table: values not above
// 1e-8 and values already present are left out. A full table keeps its extremes: a new
// value below the smallest or above the largest entry replaces that entry, any other
// new value is left out.
void AddValue(ViewTables& tables, Quantity k, double value);

// qsort comparison of two doubles: 1 if a > b, -1 if a < b, 0 otherwise.
int CompareValues(const void* a, const void* b);

// Releases first and every record reachable from it; leaves first null.
void FreeRecords(std::unique_ptr<PhotoRecord>& first);

// Empties the catalogue: releases every record, head null, recordCount 0, the views alike.
void ClearRecords(PhotoCatalogue& catalogue);

// Empties all five value tables (counts 0, entries 0.0).
void ResetValueTables(ViewTables& tables);

// Sorts all five value tables ascending.
void SortValueTables(ViewTables& tables);
