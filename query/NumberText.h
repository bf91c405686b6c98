// SPDX-License-Identifier: MIT
// Text to a number the way atof reads it in the "C" locale, whatever locale the desktop
// session sets. Numbers to text: FixedText (catalogue/QuantityText.h).
#pragma once

#include <string>

// The number at the start of text, as atof reads it: leading white space skipped,
// trailing characters ignored, 0 when the text does not start with a number.
double ParseLeadingNumber(const std::string& text);
