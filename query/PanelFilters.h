// SPDX-License-Identifier: MIT
// The expanded window's filters: the cameras and lenses chosen, the days taken, and
// whether a photo without a value passes the bounds the user set; and the faceted
// counts that tell, line by line, how many photos that line alone would let through.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/PhotoCatalogue.h"

// One line of the cameras or lenses list.
struct NameLine {
    InternedName name; // empty: the photos without one
    int count = 0; // photos of the catalogue with this name
};

// What the panel shows after a scan run: the catalogue's cameras and lenses, each in
// byte order of their names with the empty name ("(no lens recorded)") last, and the
// first and last day taken (YYYYMMDD; 0 when no photo has a date).
struct PanelFill {
    std::vector<NameLine> cameras;
    std::vector<NameLine> lenses;
    int firstDay = 0;
    int lastDay = 0;
};

PanelFill FillPanel(const PhotoCatalogue& catalogue);

// The panel's state when Query is pressed. chosen flags run parallel to the fill's lines.
struct PanelFilters {
    std::vector<InternedName> cameras; // the lines of the cameras list
    std::vector<bool> camerasChosen;
    std::vector<InternedName> lenses;
    std::vector<bool> lensesChosen;
    int fromDay = 0; // YYYYMMDD, inclusive; 0 no bound
    int toDay = 0; // YYYYMMDD, inclusive; 0 no bound
    int firstDay = 0; // the catalogue's span: bounds equal to it are untouched
    int lastDay = 0;
    bool withoutValuePasses = true;
    // "Without a value": only the photos that lack each quantity (and the lens) checked.
    bool onlyWithout[kQuantityCount] = {};
    bool onlyWithoutLens = false;
};

// Whether record lacks every value the filters ask it to lack.
bool LacksAsAsked(const PhotoRecord& record, const PanelFilters& filters);

// The faceted counts of a query: for each camera line, the photos that would match with
// that camera alone chosen and every other filter as set; the same for each lens line.
struct PanelCounts {
    std::vector<int> cameras;
    std::vector<int> lenses;
};

// The text of a name line: the name, or "(no lens recorded)" / "(no camera recorded)".
std::string LensLineText(const InternedName& lens);
std::string CameraLineText(const InternedName& camera);

// A date-time YYYYMMDDhhmmss's day, YYYYMMDD.
inline int DayOf(std::int64_t taken)
{
    return static_cast<int>(taken / 1000000);
}
