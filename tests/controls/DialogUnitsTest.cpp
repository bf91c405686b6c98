// SPDX-License-Identifier: MIT
#include "controls/DialogUnits.h"

#include <gtest/gtest.h>

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZeroAndTheFontHasTheLayoutsUnits)
{
    struct Case {
        int number, numerator, denominator, expected;
    } const cases[] = {
        { 337, 6, 4, 506 }, // 505.5
        { 7, 12, 8, 11 }, // 10.5
        { -7, 12, 8, -11 }, { 5, 5, 0, -1 },
        { 1000000000, 6, 4, 1500000000 }, // the product is formed in 64 bits
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MulDivRound(c.number, c.numerator, c.denominator), c.expected)
            << c.number << "*" << c.numerator << "/" << c.denominator;
    }
    // 8-point MS Sans Serif, substituted by Liberation Sans, must measure 6 x 12 like the
    // Windows font, or every control lands elsewhere.
    const DialogBaseUnits units = BaseUnitsOf(DialogFont());
    EXPECT_EQ(units.cx, 6);
    EXPECT_EQ(units.cy, 12);
}
