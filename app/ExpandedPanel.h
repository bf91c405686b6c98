// SPDX-License-Identifier: MIT
// The expanded window's panel at the right: the catalogue's cameras and lenses, each line
// a check box, the name and a count; the days taken; whether a photo without a value
// passes the bounds the user set; and how many photos were read and files skipped.
#pragma once

#include <QWidget>

#include <vector>

#include "query/PanelFilters.h"

class ChartSettings;
class QCheckBox;
class QDateEdit;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

class ExpandedPanel : public QWidget {
    Q_OBJECT
public:
    explicit ExpandedPanel(QWidget* parent = nullptr);

    // After a scan run: every camera and lens line, all checked, with its catalogue count;
    // the date boxes spanning the first and last day; the read and skipped counts.
    void Fill(const PhotoCatalogue& catalogue);

    // The filters as the controls stand.
    PanelFilters Filters() const;

    // The faceted counts of the last query, line by line.
    void ShowCounts(const PanelCounts& counts);

    // Checks the lens lines of lenses alone.
    void ChooseLenses(const std::vector<InternedName>& lenses);

    ChartSettings* m_chartSettings = nullptr; // the chart's Bins, Axis and readout

    QTreeWidget* m_cameraList = nullptr;
    QTreeWidget* m_lensList = nullptr;
    QDateEdit* m_takenFrom = nullptr;
    QDateEdit* m_takenTo = nullptr;
    QCheckBox* m_withoutValuePasses = nullptr;
    QLabel* m_readLine = nullptr; // "N photos read, M files skipped"

private:
    void FillList(QTreeWidget* list, const std::vector<NameLine>& lines, bool lenses);
    // A click on a line: on its box the box has toggled already; on the name, that line
    // alone is checked.
    void OnLineClicked(QTreeWidget* list, QTreeWidgetItem* item);

    std::vector<InternedName> m_cameras;
    std::vector<InternedName> m_lenses;
    int m_firstDay = 0;
    int m_lastDay = 0;
    bool m_boxToggled = false; // set by a box's toggle, read by the click that follows it
    bool m_filling = false; // the program, not the user, changes the check boxes
};

// Where the controls go in the expanded window, whose client area is client: the chart
// and the list keep their template places and take the width and height beyond the
// template's size; the panel of panelWidth keeps the right edge and the whole height.
struct ExpandedLayout {
    QRect chart;
    QRect list;
    QRect panel;
};
ExpandedLayout LayoutExpanded(const QSize& templateSize, const QRect& chart, const QRect& list,
    int panelWidth, const QSize& client);
