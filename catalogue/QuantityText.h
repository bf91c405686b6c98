// SPDX-License-Identifier: MIT
// The quantities of a photo, written once: one row of this table per quantity says how it
// is read from a photo's fields, how the window bounds it, how its values are written and
// drawn and where it shows. The scan run, the selectors, the query, the results list, the
// chart and the Show list iterate the table; nothing else names the quantities one by one.
//
// A new bounded quantity is one enumerator and one row here, the reader's case for its
// field (catalogue/PhotoFields.h) and its bound controls. A row marked expandedOnly is
// bounded, shown and charted only in the expanded window: its controls live in the panel,
// which writes their state into the query's bounds (ExpandedPanel::ReadBounds), and the
// window as it starts never reads it.
#pragma once

#include <cstdint>
#include <string>

struct PhotoFields;

// Index of a quantity: its row in the table and its value table in the catalogue. The
// first rows are the window's own, in the order of its Show list.
enum Quantity : int {
    Aperture = 0, // f-number
    FocalLength = 1, // millimetres
    Iso = 2, // ISO speed
    ShutterSpeed = 3, // exposure time in seconds
    FileSize = 4, // units of 1,048,576 bytes, one decimal
};
constexpr int kQuantityCount = 5;

// How the window bounds a quantity.
enum class SelectorKind {
    None, // not bounded (charted only)
    ValueLists, // a lower and an upper drop-down list of the catalogue's distinct values
    WholeNumberTexts, // a lower and an upper edit box of whole numbers with up-down buttons
};

struct QuantityInfo {
    Quantity quantity; // the row's own index
    const char* showText; // its entry in the chart's Show list
    // Its value of a photo, 0 when the photo lacks it. The value tables, the selectors and
    // the window as it starts read this.
    double (*value)(const PhotoFields& photo);
    // Where set, the expanded window's query, chart and Show read this instead (say, a
    // value the maker's notes give where the EXIF block gives none); null: value.
    double (*expandedValue)(const PhotoFields& photo);
    // Whether a value means that the photo lacks the quantity. Such a photo passes every
    // bound on it in the window as it starts; in the expanded window only while "Photos
    // without a value pass" is checked or the bound still spans the whole catalogue.
    bool (*missing)(double value);
    SelectorKind selector;
    bool expandedOnly; // bounded and in Show only while the window is expanded
    // The bars run from barLeft at their left edge to barRight at their right (0xRRGGBB).
    std::uint32_t barLeft;
    std::uint32_t barRight;
    // The text of a value as the results list and the chart labels write it.
    std::string (*format)(double value);
    // The text of a value as an entry of its bound lists.
    std::string (*selectorText)(double value);
};

// One row per quantity, in Quantity order.
const QuantityInfo* QuantityTable();

// The value of quantity q of a photo, in the expanded window (expandedView) or in the
// window as it starts; 0 for a quantity outside the table.
double QuantityValue(const PhotoFields& photo, Quantity q, bool expandedView);

// Aperture "F%.1f", focal length "%.1f" below 10 else "%.0f", ISO "%.0f", exposure time
// v below 1 as "1/%.0f" of 1/v else "%.1f" below 10 else "%.0f", file size "%.1f"; an
// empty text for a quantity outside the table.
std::string FormatQuantity(Quantity q, double value);

// value as "%.<decimals>f" writes it, always with a decimal point whatever the locale.
std::string FixedText(double value, int decimals);

// "YYYY-MM-DD HH:MM:SS" of a date-time YYYYMMDDhhmmss, empty when it is 0 (unknown) or
// not of that form.
std::string TakenText(std::int64_t taken);
