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

struct PhotoCatalogue {
    ScanNotifier* progressWindow = nullptr; // receives the current run's notices
    std::atomic<bool> cancelRequested {
        false
    }; // set by the user-interface thread, polled by the worker
    std::string currentPath; // the file the worker is reading
    std::unique_ptr<PhotoRecord> head; // counted records, then the spare record
    PhotoRecord* spare = nullptr; // the uncounted last record, read into next
    int recordCount = 0;
    double values[kQuantityCount][kValueTableSize] = {};
    int valueCounts[kQuantityCount] = {};
    int skipped[kSkipReasonCount] = {}; // files of the last run left out, by SkipReason
    // Every file of the last run left out, in the order met; then those passed over by a
    // walk, counted apart.
    std::vector<SkippedFile> skippedFiles;
    int otherKinds = 0;

    PhotoCatalogue() = default;
    PhotoCatalogue(const PhotoCatalogue&) = delete;
    PhotoCatalogue& operator=(const PhotoCatalogue&) = delete;
};

// Enters one value of a newly accepted photo into quantity k's table: values not above
// 1e-8 and values already present are left out. A full table keeps its extremes: a new
// value below the smallest or above the largest entry replaces that entry, any other
// new value is left out.
void AddValue(PhotoCatalogue& catalogue, Quantity k, double value);

// qsort comparison of two doubles: 1 if a > b, -1 if a < b, 0 otherwise.
int CompareValues(const void* a, const void* b);

// Releases first and every record reachable from it; leaves first null.
void FreeRecords(std::unique_ptr<PhotoRecord>& first);

// Empties the catalogue: releases every record, head null, recordCount 0.
void ClearRecords(PhotoCatalogue& catalogue);

// Empties every value table (counts 0, entries 0.0).
void ResetValueTables(PhotoCatalogue& catalogue);

// Sorts every value table ascending.
void SortValueTables(PhotoCatalogue& catalogue);
