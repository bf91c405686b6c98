// SPDX-License-Identifier: MIT
#include "controls/UpDownControl.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include <gtest/gtest.h>

// The arrows and the Up and Down keys in the edit step its whole number within the range;
// a number outside the range moves onto it only in the arrow's direction, never against
// it, and the range holds the largest focal length a photo can give.
TEST(UpDownControl, ArrowsAndKeysStepTheTextNeverAgainstTheArrow)
{
    enum Action { UpArrow, DownArrow, UpKey, DownKey };
    struct Row {
        const char* text;
        long long lower, upper;
        Action action;
        const char* expected;
    } const rows[] = {
        { "17", 17, 55, DownArrow, "17" }, { "55", 17, 55, UpKey, "55" },
        { "54.4", 17, 55, UpArrow, "55" }, { "20 mm", 17, 55, DownKey, "19" },
        { "3", 17, 55, UpArrow, "17" }, { "3", 17, 55, DownArrow, "3" },
        { "90", 17, 55, UpKey, "90" }, { "90", 17, 55, DownArrow, "55" },
        { "4294967295", 50, 4294967295, UpArrow, "4294967295" },
        { "4294967295", 50, 4294967295, UpKey, "4294967295" },
        { "4294967295", 50, 4294967295, DownArrow, "4294967294" },
        { "99999999999999999999", 50, 4294967295, DownKey, "4294967295" },
        { "-7", 50, 4294967295, DownArrow, "-7" }, { "letters", 50, 60, UpArrow, "50" },
        { "10", 100, 0, UpArrow, "9" }, // a reversed range counts down on "up"
    };
    for (const Row& row : rows) {
        QWidget window;
        auto* edit = new QLineEdit(&window);
        edit->setGeometry(0, 0, 80, 22);
        auto* control = new UpDownControl(&window);
        control->resize(14, 22);
        control->SetBuddy(edit);
        control->SetRange(row.lower, row.upper);
        window.show();
        edit->setText(QString::fromLatin1(row.text));
        QToolButton* arrow = nullptr;
        for (QToolButton* button : control->findChildren<QToolButton*>()) {
            if (button->arrowType() == (row.action == UpArrow ? Qt::UpArrow : Qt::DownArrow))
                arrow = button;
        }
        ASSERT_NE(arrow, nullptr);
        if (row.action == UpArrow || row.action == DownArrow)
            QTest::mouseClick(arrow, Qt::LeftButton);
        else
            QTest::keyClick(edit, row.action == UpKey ? Qt::Key_Up : Qt::Key_Down);
        EXPECT_EQ(edit->text().toStdString(), row.expected)
            << row.text << " " << row.lower << ".." << row.upper << " action " << row.action;
    }
}
