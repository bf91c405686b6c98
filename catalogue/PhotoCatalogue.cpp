// SPDX-License-Identifier: MIT
#include "catalogue/PhotoCatalogue.h"

#include <cstring>

#include "catalogue/QuantityText.h"

#include <cstdlib>
#include <utility>

const char* const kSkipReasonTexts[kSkipReasonCount] = { "no EXIF block", "unreadable",
    "not a regular file", "path too long", "EXIF block too large to read" };

PhotoRecord::~PhotoRecord()
{
    // Unlink one record at a time: each record dies with an empty next, so releasing a
    // list of any length takes constant stack.
    std::unique_ptr<PhotoRecord> rest = std::move(next);
    while (rest)
        rest = std::move(rest->next);
}

void AddValue(PhotoCatalogue& catalogue, Quantity k, double value)
{
    // NaN fails this comparison too and so never enters a table.
    if (!(value > kSmallestTableValue))
        return;
    if (k < 0 || k >= kQuantityCount)
        return;
    double* row = catalogue.values[k];
    int& count = catalogue.valueCounts[k];

    // One pass finds a duplicate and, for a full table, the extremes.
    int smallest = 0;
    int largest = 0;
    for (int i = 0; i < count; ++i) {
        if (row[i] == value)
            return;
        if (row[i] < row[smallest])
            smallest = i;
        if (row[i] > row[largest])
            largest = i;
    }
    if (count < kValueTableSize) {
        row[count] = value;
        ++count;
        return;
    }
    // A full table keeps the range of the whole catalogue, so that the bound selectors
    // still span every photo; values in between are left out.
    if (value < row[smallest])
        row[smallest] = value;
    else if (value > row[largest])
        row[largest] = value;
}

int CompareValues(const void* a, const void* b)
{
    const double x = *static_cast<const double*>(a);
    const double y = *static_cast<const double*>(b);
    if (x > y)
        return 1;
    if (x < y)
        return -1;
    return 0;
}

void FreeRecords(std::unique_ptr<PhotoRecord>& first)
{
    std::unique_ptr<PhotoRecord> rest = std::move(first);
    while (rest)
        rest = std::move(rest->next);
}

void ClearRecords(PhotoCatalogue& catalogue)
{
    FreeRecords(catalogue.head);
    catalogue.spare = nullptr;
    catalogue.recordCount = 0;
}

void ResetValueTables(PhotoCatalogue& catalogue)
{
    for (int k = 0; k < kQuantityCount; ++k) {
        catalogue.valueCounts[k] = 0;
        for (double& entry : catalogue.values[k])
            entry = 0.0;
    }
}

void SortValueTables(PhotoCatalogue& catalogue)
{
    for (int k = 0; k < kQuantityCount; ++k) {
        const int count = catalogue.valueCounts[k];
        if (count > 1)
            std::qsort(catalogue.values[k], static_cast<std::size_t>(count), sizeof(double),
                CompareValues);
    }
}

std::string SkippedFileReason(const SkippedFile& file)
{
    if (file.reason == kSkipOtherKind) {
        const std::size_t slash = file.path.rfind('/');
        const std::size_t dot = file.path.rfind('.');
        const bool extension
            = dot != std::string::npos && (slash == std::string::npos || dot > slash);
        return extension ? "not a photo format (" + file.path.substr(dot) + ")"
                         : std::string("not a photo format (no extension)");
    }
    if (file.reason < 0 || file.reason >= kSkipReasonCount)
        return "not read";
    std::string text = kSkipReasonTexts[file.reason];
    if (file.error != 0 && file.reason == SkipUnreadable)
        text += std::string(": ") + std::strerror(file.error);
    return text;
}
