// SPDX-License-Identifier: MIT
#include "query/NumberText.h"

#include <charconv>
#include <clocale>
#include <cstdlib>
#include <locale.h>

std::string FormatFixed(double value, int decimals)
{
    char text[400]; // the longest double in fixed notation has 309 digits before the point
    const std::to_chars_result written
        = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    if (written.ec != std::errc())
        return {};
    return std::string(text, written.ptr);
}

double ParseLeadingNumber(const std::string& text)
{
    // QApplication adopts the session's locale, where strtod may expect a comma.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    if (!cLocale)
        return std::strtod(text.c_str(), nullptr);
    return strtod_l(text.c_str(), nullptr, cLocale);
}
