// SPDX-License-Identifier: MIT
// Builds a catalogue the way a completed scan run leaves it: the counted records in
// reading order, one spare record after them, and sorted value tables.
#pragma once

#include <memory>
#include <string>

#include "catalogue/PhotoCatalogue.h"

struct TestPhoto {
    std::string path;
    std::string camera;
    double fNumber = 0;
    double focalLength = 0;
    double iso = 0;
    double exposureTime = 0;
    double fileSizeMb = 0;
};

class CatalogueBuilder {
public:
    explicit CatalogueBuilder(PhotoCatalogue& catalogue) : m_catalogue(catalogue)
    {
        ClearRecords(m_catalogue);
        ResetValueTables(m_catalogue);
        m_catalogue.head = std::make_unique<PhotoRecord>();
        m_last = m_catalogue.head.get();
        m_catalogue.recordCount = 0;
    }

    CatalogueBuilder& Add(const TestPhoto& photo)
    {
        PhotoRecord& record = *m_last;
        record.path = photo.path;
        record.camera = photo.camera;
        record.fNumber = photo.fNumber;
        record.focalLength = photo.focalLength;
        record.iso = photo.iso;
        record.exposureTime = photo.exposureTime;
        record.fileSizeMb = photo.fileSizeMb;
        AddValue(m_catalogue, Iso, photo.iso);
        AddValue(m_catalogue, Aperture, photo.fNumber);
        AddValue(m_catalogue, FocalLength, photo.focalLength);
        AddValue(m_catalogue, ShutterSpeed, photo.exposureTime);
        AddValue(m_catalogue, FileSize, photo.fileSizeMb);
        record.next = std::make_unique<PhotoRecord>();
        m_last = record.next.get();
        ++m_catalogue.recordCount;
        return *this;
    }

    // The spare record gets values that would match any query, so a reader that walks
    // past recordCount shows up.
    void Complete()
    {
        m_last->path = "/spare/never-listed.jpg";
        SortValueTables(m_catalogue);
    }

private:
    PhotoCatalogue& m_catalogue;
    PhotoRecord* m_last = nullptr;
};
