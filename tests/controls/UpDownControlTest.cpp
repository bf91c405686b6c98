// SPDX-License-Identifier: MIT
#include "controls/UpDownControl.h"

#include <gtest/gtest.h>

TEST(UpDownControl, StepsStayWithinTheRange)
{
    struct Case {
        int value;
        bool up;
        int lower, upper, expected;
    } const cases[] = {
        { 17, false, 17, 55, 17 },
        { 55, true, 17, 55, 55 },
        { 3, true, 17, 55, 18 }, // below the range: clamped first, then stepped
        { 90, false, 17, 55, 54 },
        { 10, true, 100, 0, 9 }, // a reversed range counts down on "up"
        { 0, false, 100, 0, 1 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(StepWithinRange(c.value, c.up, c.lower, c.upper), c.expected)
            << c.value << (c.up ? " up " : " down ") << c.lower << ".." << c.upper;
}
