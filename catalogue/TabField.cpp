// SPDX-License-Identifier: MIT
#include "catalogue/TabField.h"

std::string TabField(std::string text)
{
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return text;
}
