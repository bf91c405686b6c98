// SPDX-License-Identifier: MIT
// The results list's model: one row per matching photo, a column per entry of the
// column table shown (the first six, or all of them in the expanded window), rows shaded
// by their current position. It keeps the sort direction of every column.
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <vector>

#include "query/ResultColumns.h"

class ResultsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit ResultsModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Replaces all rows at once (one model reset).
    void SetRows(std::vector<ListRow> rows);
    void Clear();
    const std::vector<ListRow>& Rows() const { return m_rows; }
    // The row at position row, or nullptr when there is none.
    const ListRow* RowAt(int row) const;

    // A click on column's header: sorts the rows by that column in its current
    // direction and then flips the direction, also when there are no rows to sort.
    void SortByColumn(int column);

    // Sorts the rows by column in the direction of the last sort by it (for new rows),
    // leaving the direction of the next sort as it is.
    void SortAgain(int column);

    // +1 (ascending) or -1 (descending): the direction of the next sort by column. All +1
    // at start; flipped by every sort request for the column, and never reset by a query,
    // a scan run or a change of the columns shown.
    std::int32_t SortDirection(int column) const;
    // Sets every direction to +1.
    void ResetSortDirections();

    // Shows the first count columns of the table (kTemplateColumnCount or
    // kResultColumnCount); the rows stay. With more than kTemplateColumnCount (the
    // expanded window), the rows read the expanded window's values (ListRow::expandedView)
    // and the lens and ISO cells' tooltips name where those came from.
    void SetShownColumns(int count);
    int ShownColumns() const { return m_shownColumns; }

private:
    std::vector<ListRow> m_rows;
    int m_shownColumns = kTemplateColumnCount;
    std::int32_t m_sortDirection[kResultColumnCount];
};
