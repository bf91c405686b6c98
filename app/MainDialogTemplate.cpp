// SPDX-License-Identifier: MIT
#include "app/MainDialogTemplate.h"

#include "app/ControlIds.h"

#include <Qt>

#include <iterator>

const char* const kProductAddress = "https://fotolot.example.org";

namespace {
using K = DialogItemKind;
constexpr int L = Qt::AlignLeft;
constexpr int R = Qt::AlignRight;

// Positions are x, y, width, height in dialog units.
const DialogItem kItems[] = {
    { IdCancel, K::PushButton, "Exit", 337, 7, 50, 14, L, true },
    { IdResultsList, K::ReportList, nullptr, 7, 220, 381, 58, L, true },
    { IdChart, K::BlackFrame, nullptr, 7, 83, 381, 132, L, false },
    { IdApertureMin, K::DropDownList, nullptr, 38, 44, 40, 175, L, true },
    { IdIsoMin, K::DropDownList, nullptr, 148, 44, 40, 175, L, true },
    { IdShutterMin, K::DropDownList, nullptr, 199, 44, 40, 175, L, true },
    { IdApertureHeading, K::Static, "Aperture", 38, 34, 28, 8, L, false },
    { IdIsoHeading, K::Static, "ISO", 149, 34, 13, 8, L, false },
    { IdShutterHeading, K::Static, "Shutter speed", 199, 34, 45, 8, L, false },
    { IdFocalHeading, K::Static, "Focal length", 88, 34, 40, 8, L, false },
    { IdMinHeading, K::Static, "Min", 15, 47, 12, 8, L, false },
    { IdFocalMinEdit, K::Edit, nullptr, 88, 44, 40, 12, L, true },
    { IdFocalMinSpin, K::UpDown, nullptr, 126, 43, 11, 14, L, false },
    { IdApertureMax, K::DropDownList, nullptr, 38, 62, 40, 175, L, true },
    { IdIsoMax, K::DropDownList, nullptr, 148, 62, 40, 175, L, true },
    { IdShutterMax, K::DropDownList, nullptr, 199, 62, 40, 175, L, true },
    { IdMaxHeading, K::Static, "Max", 14, 64, 14, 8, L, false },
    { IdFocalMaxEdit, K::Edit, nullptr, 88, 62, 40, 12, L, true },
    { IdFocalMaxSpin, K::UpDown, nullptr, 126, 61, 11, 14, L, false },
    { IdQuery, K::PushButton, "Query", 330, 45, 50, 14, L, true },
    { IdOpen, K::PushButton, "Open", 177, 7, 50, 14, L, true },
    { IdShow, K::DropDownList, nullptr, 304, 62, 78, 160, L, true },
    { IdShowHeading, K::Static, "Show", 274, 64, 19, 8, L, false },
    { IdMatches, K::TransparentStatic, "Static", 309, 34, 71, 8, R, false },
    { IdMatchesHeading, K::Static, "Matches:", 274, 34, 30, 8, L, false },
    { -1, K::GroupBox, nullptr, 7, 24, 381, 58, L, false },
    { IdLink, K::TransparentStatic, kProductAddress, 36, 8, 138, 14, L, false },
    { IdScreenshot, K::PushButton, "Screenshot", 257, 7, 50, 14, L, true },
    { -1, K::Icon, nullptr, 7, 5, 20, 20, L, false },
};

const DialogTemplate kTemplate
    = { "Fotolot " FOTOLOT_VERSION_TEXT, 395, 282, kItems, static_cast<int>(std::size(kItems)) };
} // namespace

const DialogTemplate& MainDialogTemplate()
{
    return kTemplate;
}
