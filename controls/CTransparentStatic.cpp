// SPDX-License-Identifier: MIT
#include "controls/CTransparentStatic.h"

#include "controls/DesktopSeam.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QUrl>

CTransparentStatic::CTransparentStatic(QWidget* parent)
    : QLabel(parent)
{
    // Without a background fill Qt paints the parent's pixels under the label whenever
    // the label is repainted, as a text change does: the old text cannot remain.
    setAutoFillBackground(false);
    setTextFormat(Qt::PlainText);
}

void CTransparentStatic::SetBold(bool bold)
{
    QFont boldFont = font();
    boldFont.setWeight(bold ? QFont::Bold : QFont::Normal);
    setFont(boldFont);
}

void CTransparentStatic::enterEvent(QEnterEvent* event)
{
    // The cursor is chosen each time the pointer comes over the label, so a change of
    // m_isLink or m_hCursor takes effect at the next hover.
    if (m_isLink)
        setCursor(m_hCursor);
    else
        unsetCursor();
    QLabel::enterEvent(event);
}

void CTransparentStatic::mousePressEvent(QMouseEvent* event)
{
    // The link opens on the press, not on the release.
    if (m_isLink && event->button() == Qt::LeftButton)
        Desktop().OpenWithDesktop(QUrl(text()));
    QLabel::mousePressEvent(event);
}
