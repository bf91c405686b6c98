// SPDX-License-Identifier: MIT
#include "catalogue/QuantityText.h"

#include <charconv>

namespace {

// value as "%.<decimals>f" writes it, always with a decimal point whatever the locale.
std::string Fixed(double value, int decimals)
{
    char text[400]; // the longest double in fixed notation has 309 digits before the point
    const std::to_chars_result written
        = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (written.ec != std::errc())
        return std::string();
    return std::string(text, written.ptr);
}

} // namespace

std::string FormatQuantity(Quantity q, double value)
{
    switch (q) {
    case Aperture:
        return "F" + Fixed(value, 1);
    case FocalLength:
        return Fixed(value, value < 10 ? 1 : 0);
    case Iso:
        return Fixed(value, 0);
    case ShutterSpeed:
        // Exposure times below a second are written as a fraction of a second.
        if (value < 1)
            return "1/" + Fixed(1 / value, 0);
        return Fixed(value, value < 10 ? 1 : 0);
    case FileSize:
        return Fixed(value, 1);
    }
    return std::string();
}
