// SPDX-License-Identifier: MIT
#include "controls/UpDownControl.h"

#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

TEST(UpDownControl, StepsStayWithinTheRange)
{
    struct Case {
        int value;
        bool up;
        int lower, upper, expected;
    } const cases[] = {
        { 17, true, 17, 55, 18 },
        { 17, false, 17, 55, 17 },
        { 55, true, 17, 55, 55 },
        { 3, true, 17, 55, 18 }, // below the range: clamped first, then stepped
        { 90, false, 17, 55, 54 },
        { 0, true, 0, 0, 0 },
        { 10, true, 100, 0, 9 }, // a reversed range counts down on "up"
        { 0, false, 100, 0, 1 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(StepWithinRange(c.value, c.up, c.lower, c.upper), c.expected)
            << c.value << (c.up ? " up " : " down ") << c.lower << ".." << c.upper;
}

TEST(UpDownControl, ReadsTheLeadingWholeNumber)
{
    struct Case {
        const char* text;
        int expected;
    } const cases[] = {
        { "  -4mm", -4 },
        { "17.9", 17 },
        { "abc", -1 },
        { "-", -1 },
        { "99999999999999999999", 2147483647 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(LeadingInteger(QString::fromLatin1(c.text), -1), c.expected) << c.text;
}

TEST(UpDownControl, ArrowsAndKeysStepTheBuddysText)
{
    QWidget parent;
    auto* edit = new QLineEdit(&parent);
    edit->setGeometry(10, 10, 60, 18);
    auto* upDown = new UpDownControl(&parent);
    upDown->setGeometry(0, 0, 17, 21);
    upDown->SetBuddy(edit);
    // Attached at the edit's right edge, as high as the edit, which gives up the width.
    EXPECT_EQ(upDown->geometry(), QRect(53, 10, 17, 18));
    EXPECT_EQ(edit->width(), 43);

    upDown->SetRange(17, 20);
    edit->setText(QStringLiteral("19"));
    upDown->Step(true);
    EXPECT_EQ(edit->text(), QStringLiteral("20"));
    upDown->Step(true);
    EXPECT_EQ(edit->text(), QStringLiteral("20"));
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), QStringLiteral("19"));
    // Free text stays until the next step, which starts from the last position.
    edit->setText(QStringLiteral("abc"));
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), QStringLiteral("20"));
}
