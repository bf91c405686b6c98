// SPDX-License-Identifier: MIT
// A pair of arrow buttons at the right edge of an edit box that step the edit's
// whole-number text within a range; the Up and Down keys in the edit step it too. The edit
// keeps free text: whatever the user types stays until the next step.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// Steps value once toward upper (up true) or toward lower, staying within the range
// between lower and upper; lower may be above upper, and then "up" counts down.
int StepWithinRange(int value, bool up, int lower, int upper);

// The whole number at the start of text, as atoi reads it (leading blanks, an optional
// sign, digits); fallback when there is none.
int LeadingInteger(const QString& text, int fallback);

class UpDownControl : public QWidget {
    Q_OBJECT
public:
    explicit UpDownControl(QWidget* parent = nullptr);

    // Attaches the control to buddy: it takes the buddy's height and right edge, and the
    // buddy gives up that much width.
    void SetBuddy(QLineEdit* buddy);
    QLineEdit* Buddy() const { return m_buddy; }

    void SetRange(int lower, int upper);
    int Lower() const { return m_lower; }
    int Upper() const { return m_upper; }

    // One step of the buddy's text toward the upper (up true) or the lower limit.
    void Step(bool up);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_buddy = nullptr;
    QToolButton* m_upButton;
    QToolButton* m_downButton;
    int m_lower = 0;
    int m_upper = 100;
    int m_position = 0; // used when the buddy's text holds no number
};
