// SPDX-License-Identifier: MIT
// Numbers to and from text the way printf's "%.Nf" and atof treat them in the "C"
// locale: always a decimal point, whatever locale the desktop session sets.
#pragma once

#include <string>

// value with the given number of decimals, as "%.<decimals>f" writes it.
std::string FormatFixed(double value, int decimals);

// The number at the start of text, as atof reads it: leading white space skipped,
// trailing characters ignored, 0 when the text does not start with a number.
double ParseLeadingNumber(const std::string& text);
