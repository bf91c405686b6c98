// SPDX-License-Identifier: MIT
// A drop-down list: a non-editable combo box whose list opens below its field as a
// scrolling list of whole rows, field and list together no taller than the dialog
// template's height for the control, whatever the style. (Some styles, Fusion among them,
// would otherwise open the list as a menu as tall as all its entries, over the field.)
#pragma once

#include <QComboBox>

class DropDownList : public QComboBox {
    Q_OBJECT
public:
    explicit DropDownList(QWidget* parent = nullptr);

    // The height of the field and its open list together, in pixels.
    void SetDropHeight(int pixels) { m_dropHeight = pixels; }

    void showPopup() override;

private:
    int m_dropHeight = 0;
};
