// SPDX-License-Identifier: MIT
// The results list's columns, written once: the list's row texts, the model, the sort
// and the export all read this table. A new column is one entry here (and its field in
// ListRow when the record gains one).
#pragma once

#include <string>
#include <string_view>

#include "query/ListRow.h"

// Columns of the results list, in display order. The first six are the list's own;
// the others show only in the expanded window.
enum ResultColumn : int {
    FileColumn = 0,
    CameraColumn = 1,
    ApertureColumn = 2,
    FocalLengthColumn = 3,
    IsoColumn = 4,
    ShutterSpeedColumn = 5,
    LensColumn = 6,
    TakenColumn = 7,
    Focal35Column = 8,
    FolderColumn = 9,
};
constexpr int kResultColumnCount = 10;
// The columns the window shows when it is not expanded.
constexpr int kTemplateColumnCount = 6;

// How a cell's bytes become the text on screen.
enum class CellEncoding {
    FileName, // the file system's bytes (paths)
    ExifText, // UTF-8, or Latin-1 when not valid UTF-8 (camera and lens names)
    Latin1, // ASCII written by the program
};

struct ResultColumnInfo {
    const char* heading; // in the list's header
    const char* exportHeading; // in the export's header line
    int width; // pixels, at start
    bool centred; // else left-aligned
    CellEncoding encoding;
    std::string (*text)(const ListRow& row); // the cell as the list and the export show it
    // The sort key: exactly one of the two is set. Texts compare byte by byte as unsigned
    // bytes; numbers as numbers, a value that is not a number counting as 0.
    std::string_view (*textKey)(const ListRow& row);
    double (*numberKey)(const ListRow& row);
};

// kResultColumnCount entries in ResultColumn order.
const ResultColumnInfo* ResultColumnTable();

// The text a cell of the results list shows; an unknown column gives an empty text.
std::string CellText(const ListRow& row, int column);
