// SPDX-License-Identifier: MIT
#include "query/ListRow.h"

#include "catalogue/QuantityText.h"

double ListRow::Value(Quantity q) const
{
    return QuantityOf(*this, q);
}

ListRow MakeListRow(const PhotoRecord& record)
{
    ListRow row;
    row.path = record.path;
    row.camera = record.camera;
    row.fNumber = record.fNumber;
    row.focalLength = record.focalLength;
    row.iso = record.iso;
    row.exposureTime = record.exposureTime;
    row.fileSizeMb = record.fileSizeMb;
    return row;
}

std::string FileNameOf(const std::string& path)
{
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos)
        return path;
    return path.substr(slash + 1);
}

std::string CellText(const ListRow& row, int column)
{
    switch (column) {
    case FileColumn:
        return FileNameOf(row.path);
    case CameraColumn:
        return row.camera;
    case ApertureColumn:
        return FormatQuantity(Aperture, row.fNumber);
    case FocalLengthColumn:
        return FormatQuantity(FocalLength, row.focalLength);
    case IsoColumn:
        // Below 1 (0 included, the file gave none) there is no ISO speed to show.
        return row.iso < 1.0 ? std::string("n/a") : FormatQuantity(Iso, row.iso);
    case ShutterSpeedColumn:
        // A missing exposure time (0) would otherwise be shown as 1/inf.
        return !(row.exposureTime > 0) ? std::string("n/a")
                                       : FormatQuantity(ShutterSpeed, row.exposureTime);
    default:
        return {};
    }
}
