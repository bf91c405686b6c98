// SPDX-License-Identifier: MIT
// A pair of arrow buttons at the right edge of an edit box that step the edit's
// whole-number text within a range; the Up and Down keys in the edit step it too. The edit
// keeps free text: whatever the user types stays until the next step.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// Steps value once toward upper (up true) or toward lower; lower may be above upper, and
// then "up" counts down. A value outside the range moves onto its nearer end only when that
// lies in the step's direction; otherwise it stays: a step never moves a number against
// its arrow, so a bound the user typed beyond the range is never narrowed by a click.
// The range is 64-bit, wide enough for every whole number of millimetres a photo can give
// (up to 4294967295).
long long StepWithinRange(long long value, bool up, long long lower, long long upper);

// The whole number at the start of text, as atoll reads it (leading blanks, an optional
// sign, digits), its size saturating at 10^18; fallback when there is none.
long long LeadingInteger(const QString& text, long long fallback);

class UpDownControl : public QWidget {
    Q_OBJECT
public:
    explicit UpDownControl(QWidget* parent = nullptr);

    // Attaches the control to buddy: it takes the buddy's height and right edge, and the
    // buddy gives up that much width.
    void SetBuddy(QLineEdit* buddy);
    QLineEdit* Buddy() const { return m_buddy; }

    void SetRange(long long lower, long long upper);
    long long Lower() const { return m_lower; }
    long long Upper() const { return m_upper; }

    // One step of the buddy's text toward the upper (up true) or the lower limit.
    void Step(bool up);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_buddy = nullptr;
    QToolButton* m_upButton;
    QToolButton* m_downButton;
    long long m_lower = 0;
    long long m_upper = 100;
    long long m_position = 0; // used when the buddy's text holds no number
};
