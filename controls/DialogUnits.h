// SPDX-License-Identifier: MIT
// Dialog units: the dialogs are laid out in units of the dialog font, a horizontal unit
// being a quarter of the font's average character width and a vertical unit an eighth of
// its height, so a layout keeps its proportions with the font.
#pragma once

#include <QFont>

class QRect;

struct DialogBaseUnits {
    int cx = 0; // average width of "A".."Z" and "a".."z", rounded, in pixels
    int cy = 0; // font height (ascent + descent) in pixels
};

// number * numerator / denominator in 64 bits, rounded half away from zero; -1 for a zero
// denominator.
int MulDivRound(int number, int numerator, int denominator);

// The dialogs' font: 8-point "MS Sans Serif". That face is not found on Linux, where
// fontconfig would fall back to a wider sans; the metric-compatible Liberation Sans is
// substituted for it so the layout comes out the same on every machine.
QFont DialogFont();

DialogBaseUnits BaseUnitsOf(const QFont& font);

// Converts x, y, width and height each from dialog units to pixels (x and width by cx / 4,
// y and height by cy / 8, rounded), as the dialog manager places a template's controls.
QRect DialogUnitsToPixels(const QRect& dialogUnits, DialogBaseUnits units);
