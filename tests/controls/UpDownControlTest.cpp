// SPDX-License-Identifier: MIT
#include "controls/UpDownControl.h"

#include <gtest/gtest.h>

// The arrows and keys step the text's leading whole number within the range; a number
// outside the range moves onto it only in the arrow's direction, never against it, and
// the range holds the largest focal length a photo can give. (The window tests press the
// arrows and keys themselves.)
TEST(UpDownControl, StepsTheLeadingNumberWithinTheRangeNeverAgainstTheArrow)
{
    // Text, up, lower and upper end of the range, the number after the step.
    const std::tuple<const char*, bool, long long, long long, long long> rows[] = {
        { "17", false, 17, 55, 17 }, { "55", true, 17, 55, 55 }, { "54.4", true, 17, 55, 55 },
        { "20 mm", false, 17, 55, 19 }, { "3", true, 17, 55, 17 }, { "3", false, 17, 55, 3 },
        { "90", true, 17, 55, 90 }, { "90", false, 17, 55, 55 },
        { "4294967295", true, 50, 4294967295, 4294967295 },
        { "4294967295", false, 50, 4294967295, 4294967294 },
        { "99999999999999999999", false, 50, 4294967295, 4294967295 },
        { "-7", false, 50, 4294967295, -7 }, { "letters", true, 50, 60, 50 },
        { "10", true, 100, 0, 9 }, // a reversed range counts down on "up"
    };
    for (const auto& [text, up, lower, upper, expected] : rows)
        EXPECT_EQ(StepWithinRange(LeadingInteger(QString::fromLatin1(text), 0), up, lower, upper),
            expected)
            << text << (up ? " up " : " down ") << lower << ".." << upper;
}
