// SPDX-License-Identifier: MIT
// A dialog described as a table of items in dialog units, in the order that is also the
// tab order and the stacking order (the first item on top), built into Qt widgets.
#pragma once

#include <QWidget>

#include <vector>

class QDialog;
class QLabel;

enum class DialogItemKind {
    PushButton, // never a default button: Enter on it clicks it only when it has focus
    DefPushButton, // the dialog's default button
    ReportList, // a QTableView of whole rows
    BlackFrame, // a QFrame drawn as a black one-pixel rectangle
    DropDownList, // a DropDownList; the height given is that of the field and its open list
    Static, // a QLabel over the dialog's background
    TransparentStatic, // a CTransparentStatic
    Edit, // a QLineEdit
    UpDown, // an UpDownControl attached to the edit just before it
    GroupBox, // an etched frame without a title
    Icon, // a QLabel showing the 32 x 32 program icon at the item's top left
};

struct DialogItem {
    int id; // -1 for items the dialog never addresses
    DialogItemKind kind;
    const char* caption; // nullptr for none
    int x, y, width, height; // dialog units
    int alignment; // Qt::Alignment of a label's text
    bool tabStop;
};

struct DialogTemplate {
    const char* title;
    int width, height; // client area in dialog units
    const DialogItem* items;
    int itemCount;
};

// Gives dialog the dialog font, its fixed client size and title, and creates the items in
// template order with their pixel geometry, tab order and stacking order. Returns the
// widgets in template order.
std::vector<QWidget*> BuildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate);

// A dialog built from a template, its widgets handed out with the type their item's kind
// makes, so that the dialog keeps them in typed members and never looks them up again.
class DialogItems {
public:
    DialogItems(QDialog& dialog, const DialogTemplate& dialogTemplate);

    // The widget of the item with the given id as T. An id the template lacks, or a T its
    // kind does not make, is a fault in the program and stops it.
    template <class T> T* Get(int id) const
    {
        T* widget = qobject_cast<T*>(Find(id));
        CheckFound(widget != nullptr, id);
        return widget;
    }
    // The template's (first) icon item.
    QLabel* Icon() const;

private:
    QWidget* Find(int id) const;
    static void CheckFound(bool found, int id);

    const DialogTemplate& m_template;
    std::vector<QWidget*> m_widgets;
};
