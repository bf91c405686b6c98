// SPDX-License-Identifier: MIT
// The expanded window's panel at the right: the catalogue's cameras and lenses, each line
// a check box, the name and a count; the days taken; whether a photo without a value
// passes the bounds the user set; and how many photos were read and files skipped.
#pragma once

#include <QWidget>

#include <vector>

#include "query/PanelFilters.h"
#include "query/PhotoQuery.h"

class QCheckBox;
class QLineEdit;
class QToolButton;
class QDateEdit;
class QLabel;
class QMenu;
class QPushButton;
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

    // Writes the bounds of the expanded-only quantities (catalogue/QuantityText.h) as the
    // panel's controls stand; the window's own controls write the others.
    void ReadBounds(QueryBounds& bounds) const;

    // The faceted counts of the last query, line by line.
    void ShowCounts(const PanelCounts& counts);

    // The width, in pixels, at which the panel shows its longest camera and lens names
    // whole.
    int NamesWidth() const { return m_namesWidth; }

    QPushButton* m_openFolderButton = nullptr;
    QLineEdit* m_cameraFilter = nullptr; // shows the lines whose names hold its text
    QLineEdit* m_lensFilter = nullptr;
    QToolButton* m_cameraAll = nullptr; // check / uncheck every line shown
    QToolButton* m_cameraNone = nullptr;
    QToolButton* m_lensAll = nullptr;
    QToolButton* m_lensNone = nullptr;
    QMenu* m_lineMenu = nullptr; // a list's context menu: Only This, All, None
    // "Without a value": one per quantity but the file size, then the lens.
    std::vector<QCheckBox*> m_onlyWithout;
    QTreeWidget* m_cameraList = nullptr;
    QTreeWidget* m_lensList = nullptr;
    QDateEdit* m_takenFrom = nullptr;
    QDateEdit* m_takenTo = nullptr;
    QCheckBox* m_withoutValuePasses = nullptr;
    QLabel* m_readLine = nullptr; // "N photos read, M files skipped"
    QPushButton* m_filesNotReadButton = nullptr; // enabled when a file was not read

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Checks (or unchecks) every line of list that its filter shows.
    void CheckShown(QTreeWidget* list, bool checked);
    // Checks line alone.
    void CheckOnly(QTreeWidget* list, QTreeWidgetItem* line);
    void ShowLinesHolding(QTreeWidget* list, const QString& text);
    void OnLineMenu(QTreeWidget* list, const QPoint& at);
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
    int m_namesWidth = 0;
    qint64 m_typedAt = -1; // when the last letter of a type-ahead was typed (ms), or -1
};

// The panel's narrowest width, and the rows the list shows at least when the expanded
// window comes on (where the screen has room).
constexpr int kPanelMinWidth = 290;
constexpr int kExpandedListRows = 15;

// What the expanded window's first size depends on.
struct ExpandedStart {
    QSize templateSize;
    QRect list; // the list's template place
    int rowHeight = 0; // of the list's rows
    int headerHeight = 0; // of the list's heading
    int columnsWidth = 0; // of the four columns the expanded list adds
    int namesWidth = 0; // the panel's width for its names (ExpandedPanel::NamesWidth)
    QSize available; // the screen's room for the window, without its frame
};

// The window's size as the expanded window comes on: as wide as the template with the
// list's added columns and the panel (which takes up to a third of the window for its
// names), as high as kExpandedListRows rows of the list need; within available, never
// below the template with the narrowest panel.
QSize ExpandedStartSize(const ExpandedStart& start);

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
