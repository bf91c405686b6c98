// SPDX-License-Identifier: MIT
// The label of every changing or highlighted text drawn over a gradient background: it
// paints no background of its own, so the parent's shows through, and a text change
// repaints the parent under the label before the new text is drawn, so no remnant of a
// longer earlier text stays. In link mode it shows its cursor and a left button press
// opens its caption with the desktop.
#pragma once

#include <QCursor>
#include <QLabel>

class CTransparentStatic : public QLabel {
    Q_OBJECT
public:
    explicit CTransparentStatic(QWidget* parent = nullptr);

    // Weight 700 (bold) or 400 (normal) of the label's current font; nothing else changes.
    void SetBold(bool bold);

    // Link mode: set by the owning dialog once the label is in place.
    bool m_isLink = false;
    QCursor m_hCursor; // shown over the label in link mode

protected:
    void enterEvent(QEnterEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
