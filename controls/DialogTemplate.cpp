// SPDX-License-Identifier: MIT
#include "controls/DialogTemplate.h"

#include "controls/CTransparentStatic.h"
#include "controls/DialogUnits.h"
#include "controls/DropDownList.h"
#include "controls/UpDownControl.h"

#include <QDialog>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRect>
#include <QTableView>

namespace {
QWidget* CreateItem(QDialog& dialog, const DialogItem& item)
{
    const QString caption = item.caption ? QString::fromLatin1(item.caption) : QString();
    switch (item.kind) {
    case DialogItemKind::PushButton:
    case DialogItemKind::DefPushButton: {
        auto* button = new QPushButton(caption, &dialog);
        const bool isDefault = item.kind == DialogItemKind::DefPushButton;
        button->setAutoDefault(isDefault);
        button->setDefault(isDefault);
        return button;
    }
    case DialogItemKind::ReportList: {
        auto* list = new QTableView(&dialog);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        // Tab goes on to the next control, as from every other control, not to the next cell.
        list->setTabKeyNavigation(false);
        list->setShowGrid(false);
        list->setWordWrap(false);
        list->verticalHeader()->hide();
        list->horizontalHeader()->setStretchLastSection(false);
        list->horizontalHeader()->setHighlightSections(false);
        list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        return list;
    }
    case DialogItemKind::BlackFrame: {
        auto* frame = new QFrame(&dialog);
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
        QPalette palette = frame->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        frame->setPalette(palette);
        return frame;
    }
    case DialogItemKind::DropDownList:
        return new DropDownList(&dialog);
    case DialogItemKind::Static:
    case DialogItemKind::TransparentStatic: {
        QLabel* label = item.kind == DialogItemKind::Static ? new QLabel(&dialog)
                                                            : new CTransparentStatic(&dialog);
        label->setTextFormat(Qt::PlainText);
        label->setText(caption);
        // A static control draws its text from its top edge.
        label->setAlignment(Qt::Alignment(item.alignment) | Qt::AlignTop);
        return label;
    }
    case DialogItemKind::Edit:
        return new QLineEdit(&dialog);
    case DialogItemKind::UpDown:
        return new UpDownControl(&dialog);
    case DialogItemKind::GroupBox: {
        // An etched rectangle that leaves the background inside it alone.
        auto* frame = new QFrame(&dialog);
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        frame->setLineWidth(1);
        frame->setMidLineWidth(0);
        return frame;
    }
    case DialogItemKind::Icon:
        return new QLabel(&dialog);
    }
    return new QWidget(&dialog);
}
} // namespace

std::vector<QWidget*> BuildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate)
{
    dialog.setFont(DialogFont());
    dialog.setWindowTitle(QString::fromLatin1(dialogTemplate.title));
    const DialogBaseUnits units = BaseUnitsOf(dialog.font());
    const QRect client
        = DialogUnitsToPixels(QRect(0, 0, dialogTemplate.width, dialogTemplate.height), units);
    dialog.setFixedSize(client.size());

    std::vector<QWidget*> widgets;
    widgets.reserve(static_cast<std::size_t>(dialogTemplate.itemCount));
    QWidget* previousFocus = nullptr;
    for (int i = 0; i < dialogTemplate.itemCount; ++i) {
        const DialogItem& item = dialogTemplate.items[i];
        QWidget* previous = widgets.empty() ? nullptr : widgets.back();
        QWidget* widget = CreateItem(dialog, item);
        QRect geometry = DialogUnitsToPixels(QRect(item.x, item.y, item.width, item.height), units);
        if (item.kind == DialogItemKind::DropDownList) {
            // The template gives the height of the field and its open list together; the
            // field is as high as its style needs for one line of the font.
            static_cast<DropDownList*>(widget)->SetDropHeight(geometry.height());
            geometry.setHeight(widget->sizeHint().height());
        } else if (item.kind == DialogItemKind::Icon) {
            geometry.setSize(QSize(32, 32));
        }
        widget->setGeometry(geometry);
        if (item.kind == DialogItemKind::UpDown) {
            if (auto* buddy = qobject_cast<QLineEdit*>(previous))
                static_cast<UpDownControl*>(widget)->SetBuddy(buddy);
        }
        widget->setFocusPolicy(item.tabStop ? Qt::StrongFocus : Qt::NoFocus);
        if (item.tabStop) {
            if (previousFocus)
                QWidget::setTabOrder(previousFocus, widget);
            previousFocus = widget;
        }
        widgets.push_back(widget);
    }
    // Qt stacks a later sibling above an earlier one; the template's first item is the
    // top one, so the items are raised from the last to the first.
    for (auto it = widgets.rbegin(); it != widgets.rend(); ++it)
        (*it)->raise();
    return widgets;
}

DialogItems::DialogItems(QDialog& dialog, const DialogTemplate& dialogTemplate)
    : m_template(dialogTemplate)
    , m_widgets(BuildDialog(dialog, dialogTemplate))
{
}

QWidget* DialogItems::Find(int id) const
{
    for (int i = 0; i < m_template.itemCount; ++i)
        if (m_template.items[i].id == id && id != -1)
            return m_widgets[static_cast<std::size_t>(i)];
    return nullptr;
}

QLabel* DialogItems::Icon() const
{
    for (int i = 0; i < m_template.itemCount; ++i)
        if (m_template.items[i].kind == DialogItemKind::Icon)
            return static_cast<QLabel*>(m_widgets[static_cast<std::size_t>(i)]);
    CheckFound(false, -1);
    return nullptr;
}

void DialogItems::CheckFound(bool found, int id)
{
    if (!found)
        qFatal("dialog item %d missing or of another kind", id);
}
