// SPDX-License-Identifier: MIT
#include "controls/UpDownControl.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

int StepWithinRange(int value, bool up, int lower, int upper)
{
    const int low = std::min(lower, upper);
    const int high = std::max(lower, upper);
    const bool increase = (upper >= lower) == up;
    const int clamped = std::clamp(value, low, high);
    if (increase)
        return clamped < high ? clamped + 1 : high;
    return clamped > low ? clamped - 1 : low;
}

int LeadingInteger(const QString& text, int fallback)
{
    int i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const int firstDigit = i;
    long long value = 0;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
        // Saturate well before int overflows; stepping clamps to the range anyway.
        value = std::min(value * 10 + (text[i].unicode() - u'0'), 1LL << 31);
        ++i;
    }
    if (i == firstDigit)
        return fallback;
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
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

void UpDownControl::SetRange(int lower, int upper)
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
