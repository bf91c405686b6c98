// SPDX-License-Identifier: MIT
#include "query/NumberText.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

double ParseLeadingNumber(const std::string& text)
{
    // QApplication adopts the session's locale, where strtod may expect a comma.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    if (!cLocale)
        return std::strtod(text.c_str(), nullptr);
    return strtod_l(text.c_str(), nullptr, cLocale);
}
