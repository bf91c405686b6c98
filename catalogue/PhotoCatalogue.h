// SPDX-License-Identifier: MIT
// The in-memory photo catalogue: a singly linked list of photo records in reading
// order, and for each of five quantities a table of the distinct values seen.
#pragma once

#include <atomic>
#include <memory>
#include <string>

// Index of a photo quantity, used by the value tables and the chart's Show list.
enum Quantity : int {
    Aperture = 0, // f-number
    FocalLength = 1, // millimetres
    Iso = 2, // ISO speed
    ShutterSpeed = 3, // exposure time in seconds
    FileSize = 4, // units of 1,048,576 bytes, one decimal
};
constexpr int kQuantityCount = 5;

// Quantity q of anything holding the five quantity fields of a photo record.
template <class Photo> double QuantityOf(const Photo& photo, Quantity q)
{
    switch (q) {
    case Aperture:
        return photo.fNumber;
    case FocalLength:
        return photo.focalLength;
    case Iso:
        return photo.iso;
    case ShutterSpeed:
        return photo.exposureTime;
    case FileSize:
        return photo.fileSizeMb;
    }
    return 0;
}

// One photo. A quantity of exactly 0 means the file did not give it.
struct PhotoRecord {
    std::string path; // full path as the file system spells it, never cut
    std::string camera; // built from EXIF Make and Model
    double iso = 0;
    double exposureTime = 0;
    double focalLength = 0;
    double fNumber = 0;
    double fileSizeMb = 0;
    std::unique_ptr<PhotoRecord> next;

    PhotoRecord() = default;
    PhotoRecord(const PhotoRecord&) = delete;
    PhotoRecord& operator=(const PhotoRecord&) = delete;
    // Releases the records after this one iteratively, so that a long list never
    // recurses once per record.
    ~PhotoRecord();

    double Value(Quantity q) const;
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

// Empties all five value tables (counts 0, entries 0.0).
void ResetValueTables(PhotoCatalogue& catalogue);

// Sorts all five value tables ascending.
void SortValueTables(PhotoCatalogue& catalogue);
