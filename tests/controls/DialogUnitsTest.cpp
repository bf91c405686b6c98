// SPDX-License-Identifier: MIT
#include "controls/DialogUnits.h"

#include <QRect>

#include <gtest/gtest.h>

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero)
{
    struct Case {
        int number, numerator, denominator, expected;
    } const cases[] = {
        { 337, 6, 4, 506 }, // 505.5
        { 7, 12, 8, 11 }, // 10.5
        { 5, 12, 8, 8 }, // 7.5
        { -7, 12, 8, -11 },
        { 7, 12, -8, -11 },
        { 5, 5, 0, -1 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MulDivRound(c.number, c.numerator, c.denominator), c.expected)
            << c.number << "*" << c.numerator << "/" << c.denominator;
    }
    // The product is formed in 64 bits: a large intermediate does not overflow.
    EXPECT_EQ(MulDivRound(1000000000, 6, 4), 1500000000);
}

TEST(DialogUnits, RectanglesConvertEdgeByEdgeWithTheBaseUnits)
{
    const DialogBaseUnits units { 6, 12 };
    EXPECT_EQ(DialogUnitsToPixels(QRect(337, 7, 50, 14), units), QRect(506, 11, 75, 21));
    EXPECT_EQ(DialogUnitsToPixels(QRect(0, 0, 395, 282), units), QRect(0, 0, 593, 423));
    EXPECT_EQ(DialogUnitsToPixels(QRect(7, 220, 381, 58), units), QRect(11, 330, 572, 87));
    EXPECT_EQ(
        DialogUnitsToPixels(QRect(0, 0, 235, 55), DialogBaseUnits { 7, 13 }), QRect(0, 0, 411, 89));
}

TEST(DialogUnits, DialogFontHasTheBaseUnitsOfTheLayout)
{
    // 8-point MS Sans Serif, substituted by Liberation Sans, must measure 6 x 12 like the
    // Windows font, or every control lands elsewhere.
    const QFont font = DialogFont();
    const DialogBaseUnits units = BaseUnitsOf(font);
    EXPECT_EQ(units.cx, 6);
    EXPECT_EQ(units.cy, 12);
}
