// SPDX-License-Identifier: MIT
#include "controls/UpDownControl.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

long long StepWithinRange(long long value, bool up, long long lower, long long upper)
{
    const long long low = std::min(lower, upper);
    const long long high = std::max(lower, upper);
    const bool increase = (upper >= lower) == up;
    if (increase) {
        if (value < low)
            return low;
        return value < high ? value + 1 : value;
    }
    if (value > high)
        return high;
    return value > low ? value - 1 : value;
}

long long LeadingInteger(const QString& text, long long fallback)
{
    // Far beyond any range the control is given, and far from overflowing.
    constexpr long long kLargest = 1000000000000000000LL;
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const qsizetype firstDigit = i;
    long long value = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        const int digit = text[i].unicode() - u'0';
        value = value > (kLargest - digit) / 10 ? kLargest : value * 10 + digit;
        ++i;
    }
    if (i == firstDigit)
        return fallback;
    return negative ? -value : value;
}

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent)
    , m_upButton(new QToolButton(this))
    , m_downButton(new QToolButton(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* button : { m_upButton, m_downButton }) {
        button->setArrowType(button == m_upButton ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        layout->addWidget(button);
    }
    connect(m_upButton, &QToolButton::clicked, this, [this] { Step(true); });
    connect(m_downButton, &QToolButton::clicked, this, [this] { Step(false); });
}

void UpDownControl::SetBuddy(QLineEdit* buddy)
{
    if (m_buddy)
        m_buddy->removeEventFilter(this);
    m_buddy = buddy;
    if (!m_buddy)
        return;
    m_buddy->installEventFilter(this);
    const QRect edit = m_buddy->geometry();
    const int width = std::min(this->width(), edit.width());
    m_buddy->resize(edit.width() - width, edit.height());
    setGeometry(edit.x() + edit.width() - width, edit.y(), width, edit.height());
}

void UpDownControl::SetRange(long long lower, long long upper)
{
    m_lower = lower;
    m_upper = upper;
}

void UpDownControl::Step(bool up)
{
    if (!m_buddy)
        return;
    m_position = StepWithinRange(LeadingInteger(m_buddy->text(), m_position), up, m_lower, m_upper);
    m_buddy->setText(QString::number(m_position));
}

bool UpDownControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
