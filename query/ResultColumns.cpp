// SPDX-License-Identifier: MIT
#include "query/ResultColumns.h"

#include "catalogue/QuantityText.h"

namespace {

std::string FileText(const ListRow& row)
{
    return FileNameOf(row.path);
}
std::string_view PathKey(const ListRow& row)
{
    // Sorted by the whole path, not only the name shown.
    return row.path;
}
std::string CameraText(const ListRow& row)
{
    return row.camera;
}
std::string_view CameraKey(const ListRow& row)
{
    return row.camera.str();
}
// The Lens column shows only in the expanded window: the lens it names.
std::string LensText(const ListRow& row)
{
    return ExpandedLens(row);
}
std::string_view LensKey(const ListRow& row)
{
    return ExpandedLens(row).str();
}
std::string FolderText(const ListRow& row)
{
    return std::string(FolderOf(row.path));
}
std::string_view FolderKey(const ListRow& row)
{
    return FolderOf(row.path);
}

// The list's quantity columns show the value of the window the row is listed in.
template <Quantity q> double QuantityKey(const ListRow& row)
{
    return QuantityValue(row, q, row.expandedView);
}
template <Quantity q> std::string QuantityCell(const ListRow& row)
{
    return FormatQuantity(q, QuantityValue(row, q, row.expandedView));
}
std::string IsoText(const ListRow& row)
{
    // Below 1 (0 included, the file gave none) there is no ISO speed to show.
    const double iso = QuantityValue(row, Iso, row.expandedView);
    return iso < 1.0 ? std::string("n/a") : FormatQuantity(Iso, iso);
}
std::string ShutterText(const ListRow& row)
{
    // A missing exposure time (0) would otherwise be shown as 1/inf.
    const double time = row.exposureTime;
    return !(time > 0) ? std::string("n/a") : FormatQuantity(ShutterSpeed, time);
}
std::string TakenCell(const ListRow& row)
{
    return TakenText(row.taken);
}
double TakenKey(const ListRow& row)
{
    return static_cast<double>(row.taken); // below 2^53: exact
}
// The photo's own tag, else the value worked out for it (see catalogue/Focal35.h); the
// list marks a worked-out value, the export writes the number alone.
std::string Focal35Text(const ListRow& row)
{
    if (row.focal35 != 0)
        return std::to_string(row.focal35);
    return row.extras.focal35 > 0 ? FixedText(row.extras.focal35, 0) : std::string("n/a");
}
double Focal35Key(const ListRow& row)
{
    return row.focal35 != 0 ? row.focal35 : row.extras.focal35;
}

using E = CellEncoding;
const ResultColumnInfo kColumns[kResultColumnCount] = {
    { "File", "Filename", 95, false, E::FileName, FileText, PathKey, nullptr },
    { "Camera", "Camera", 170, false, E::ExifText, CameraText, CameraKey, nullptr },
    { "Aperture", "Aperture", 60, true, E::Latin1, QuantityCell<Aperture>, nullptr,
        QuantityKey<Aperture> },
    { "Focal length", "Focal Length", 80, true, E::Latin1, QuantityCell<FocalLength>, nullptr,
        QuantityKey<FocalLength> },
    { "ISO", "ISO", 50, true, E::Latin1, IsoText, nullptr, QuantityKey<Iso> },
    { "Shutter speed", "Shutter Speed", 85, true, E::Latin1, ShutterText, nullptr,
        QuantityKey<ShutterSpeed> },
    { "Lens", "Lens", 170, false, E::ExifText, LensText, LensKey, nullptr },
    { "Taken", "Taken", 120, true, E::Latin1, TakenCell, nullptr, TakenKey },
    { "35 mm", "35 mm Focal Length", 50, true, E::Latin1, Focal35Text, nullptr, Focal35Key },
    { "Folder", "Folder", 220, false, E::FileName, FolderText, FolderKey, nullptr },
};

} // namespace

const ResultColumnInfo* ResultColumnTable()
{
    return kColumns;
}

std::string CellText(const ListRow& row, int column)
{
    if (column < 0 || column >= kResultColumnCount)
        return {};
    return kColumns[column].text(row);
}
