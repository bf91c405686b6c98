// SPDX-License-Identifier: MIT
#include "controls/DropDownList.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>

#include <algorithm>

namespace {
// The application's style, except that a combo box's list is a list below the field and
// never a menu placed over it.
class ListBelowStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
        QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// One ListBelowStyle for every drop-down list, over a style of the application's kind of
// its own (the proxy owns its base style), so that the lists draw exactly as their
// neighbours do. Made anew if the application's style has changed since.
QStyle* SharedListBelowStyle()
{
    static QPointer<QStyle> shared;
    static QString baseName;
    const QString name = QApplication::style()->name();
    if (!shared || name != baseName) {
        shared = new ListBelowStyle(QStyleFactory::create(name));
        shared->setParent(QApplication::instance());
        baseName = name;
    }
    return shared;
}
} // namespace

DropDownList::DropDownList(QWidget* parent)
    : QComboBox(parent)
{
    setStyle(SharedListBelowStyle());
}

void DropDownList::showPopup()
{
    const int listHeight = m_dropHeight - height();
    const int rowHeight = std::max(1, view()->sizeHintForRow(0));
    if (listHeight > 0)
        setMaxVisibleItems(std::max(1, listHeight / rowHeight));
    QComboBox::showPopup();
    // The rows that fit leave no room for the list's frame: take off whole rows until the
    // list fits, keeping its edge at the field.
    QWidget* list = view()->window();
    if (listHeight <= 0 || !list->isVisible() || list->height() <= listHeight)
        return;
    const int rowsOff = (list->height() - listHeight + rowHeight - 1) / rowHeight;
    QRect geometry = list->geometry();
    const bool below = geometry.top() >= mapToGlobal(QPoint(0, 0)).y();
    geometry.setHeight(geometry.height() - rowsOff * rowHeight);
    if (!below)
        geometry.moveBottom(list->geometry().bottom());
    list->setGeometry(geometry);
    view()->scrollTo(view()->currentIndex(), QAbstractItemView::EnsureVisible);
}
